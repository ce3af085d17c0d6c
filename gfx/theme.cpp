#include "gfx/theme.h"

#include "core/decimal.h"
#include "core/settings_file.h"
#include "core/settings_key.h"
#include "gfx/blend.h"
#include "gfx/colours.h"
#include "gfx/display_metrics.h"
#include "gfx/image_cache.h"
#include "gfx/settings_keys.h"
#include "platform/api/shell.h"

namespace gfx {
namespace {

constexpr double DecorationOpacity = 0.2;
constexpr int BackgroundLightening = 24;

platform::Colour colourFromText(std::wstring_view text) {
    return static_cast<platform::Colour>(core::parseDecimal64(text)) & 0xFFFFFF;
}

bool nearlyBlack(platform::Colour c) {
    return platform::redOf(c) < 26 && platform::greenOf(c) < 26 && platform::blueOf(c) < 26;
}

bool hasScreenSize(const Image& image, platform::Size screen) {
    return image.bitmap && image.bitmap->width() == screen.width &&
           image.bitmap->height() == screen.height;
}

void loadSkinFile(Theme& theme, DecorationPictures& decorations,
                  std::optional<std::wstring_view> explicitPath) {
    releaseImage(theme.backgroundImage, true);
    theme.backgroundImage = nullptr;
    const std::wstring_view mainPath = decorations.mainPath();
    const std::wstring plainPath = L"\\backgrounds\\" + theme.skinName;
    const bool landscape = !explicitPath && isLandscape();
    std::wstring path = explicitPath ? std::wstring(*explicitPath)
                        : landscape  ? L"\\backgrounds\\land_" + theme.skinName
                                     : plainPath;
    Image* image = acquireShellImage(mainPath, path, false);
    if (!image->bitmap && landscape) {
        // No landscape variant: the portrait picture, stretched, will do.
        releaseImage(image, true);
        image = acquireShellImage(mainPath, plainPath, false);
    }
    theme.backgroundImage = image;
    const platform::Size screen = platform::screenSize();
    if (image->bitmap && !hasScreenSize(*image, screen)) {
        stretchImage(*image, screen.width, screen.height);
    }
}

void buildAutomaticSkin(Theme& theme, DecorationPictures& decorations) {
    const platform::Size screen = platform::screenSize();
    // A skin picture from the cache is never painted over: other holders share it.
    const bool ownBackground = theme.backgroundImage && theme.backgroundImage->kind != ShellImage;
    if (!ownBackground || !hasScreenSize(*theme.backgroundImage, screen)) {
        releaseImage(theme.backgroundImage, true);
        releaseImage(theme.decorImage, true);
        theme.decorImage = nullptr;
        auto* image = new Image;
        image->bitmap = createDib24(screen.width, screen.height);
        image->name = kAutomatic;
        image->refCount = 1;
        image->describe();
        theme.backgroundImage = image;
    }
    Image& background = *theme.backgroundImage;
    if (!background.bitmap)
        return;
    background.bitmap->fill(lightenColour(theme.mainColour, BackgroundLightening));
    if (!theme.decorImage) {
        auto* decor = new Image;
        decor->targa = std::make_unique<TargaPixels>(
            decorations.picture(DecorationShadowBack, screen.width, screen.height));
        decor->width = decor->targa->width;
        decor->height = decor->targa->height;
        decor->refCount = 1;
        theme.decorImage = decor;
    }
    blendTarga(*theme.decorImage->targa, background.bitmap.get(), 0, 0, false, DecorationOpacity);
}

}  // namespace

Theme::~Theme() {
    releaseImage(backgroundImage, false);
    releaseImage(decorImage, false);
}

std::wstring themePath(std::wstring_view mainPath, std::wstring_view fileName) {
    std::wstring path(mainPath);
    path += L"themes\\";
    path += core::iniText(L"theme", L"default");
    path += L"\\";
    path += fileName;
    return path;
}

std::wstring graphicsPicture(std::wstring_view name) {
    std::wstring path = L"graphics\\";
    path += name;
    path += displayMetrics().isVga ? L"_vga.jpg" : L".jpg";
    return path;
}

ThemeUpdate loadTheme(Theme& theme, DecorationPictures& decorations, bool reloadBackground) {
    ThemeUpdate update;
    const std::wstring text = core::settings::read(keys::OptTextColor);
    theme.textColour =
        text == kAutomatic ? systemColour(ColourHighlightText) : colourFromText(text);
    theme.selectedTextColour = theme.textColour;

    const std::wstring main = core::settings::read(keys::OptColor);
    if (main == kAutomatic) {
        platform::Colour highlight = systemColour(ColourHighlight);
        if (nearlyBlack(highlight))
            highlight = lightenColour(highlight, 44);
        theme.mainColour = theme.mainColourAlt = highlight;
        theme.captionColour = systemColour(ColourActiveCaption);
    } else {
        theme.mainColour = theme.mainColourAlt = theme.captionColour = colourFromText(main);
    }

    std::wstring clock = core::settings::read(keys::OptClock);
    if (clock == kAutomatic)
        clock = L"default.tga";
    update.clockFaceChanged = clock != theme.clockFaceName;
    theme.clockFaceName = clock;
    decorations.setClockFace(clock);

    theme.skinName = core::settings::read(keys::OptSkin);
    if (reloadBackground)
        update.skinChanged = reloadSkin(theme, decorations);
    return update;
}

bool reloadSkin(Theme& theme, DecorationPictures& decorations,
                std::optional<std::wstring_view> explicitPath) {
    if (theme.skinName != kAutomatic) {
        loadSkinFile(theme, decorations, explicitPath);
    } else {
        buildAutomaticSkin(theme, decorations);
    }
    return true;
}

}  // namespace gfx
