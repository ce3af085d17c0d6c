#include "home/layout.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/settings_key.h"
#include "core/text_case.h"
#include "home/settings_keys.h"
#include "platform/api/device.h"
#include "worldtime/date_helpers.h"

namespace home {
namespace {

// Lengths beyond this many layout units are taken as this many: no display is that large, and
// scaling stays far from overflow.
constexpr int kMaxLength = 8192;

bool isType(std::wstring_view type, std::wstring_view name) {
    return core::equalsIgnoringCase(type, name);
}

int number(const core::XmlElement& element, std::wstring_view name, int fallback) {
    return layoutNumber(element, name).value_or(fallback);
}

class Builder {
  public:
    Builder(LayoutModel& model, double scale) : model_(model) { model_.scale = scale; }

    void build(const core::XmlElement& homescreen) {
        model_.hilite = number(homescreen, L"hilite", 100);
        std::wstring autoHeight = homescreen.attributeText(L"autoheight");
        if (homescreen.attribute(L"autoheight") && !core::equalsIgnoringCase(autoHeight, L"auto"))
            model_.autoHeight = number(homescreen, L"autoheight", 0) != 0;
        model_.tabHeight = homescreen.attribute(L"tabheight") ? length(homescreen, L"tabheight")
                                                              : static_cast<int>(16 * model_.scale);
        model_.noTabOffset = length(homescreen, L"professional_notab_xoff");
        for (const auto& child : homescreen.children) {
            if (core::equalsIgnoringCase(child.name, L"obj"))
                definitionOrObject(child);
            else if (core::equalsIgnoringCase(child.name, L"layout"))
                layout(child);
        }
        // The tab strip pushes every object down; without tabs the file's offset moves them
        // right. Both are known only once the whole file is read.
        for (auto& layout : model_.layouts) {
            for (auto& object : layout.objects) {
                if (model_.hasTabs()) {
                    object.rect.top += model_.tabHeight;
                    object.rect.bottom += model_.tabHeight;
                } else {
                    object.rect.left += model_.noTabOffset;
                    object.rect.right += model_.noTabOffset;
                }
            }
        }
    }

  private:
    int length(const core::XmlElement& element, std::wstring_view name) const {
        int units = std::clamp(number(element, name, 0), -kMaxLength, kMaxLength);
        return static_cast<int>(units * model_.scale);
    }

    void definitionOrObject(const core::XmlElement& element) {
        std::wstring type = element.attributeText(L"type");
        if (isType(type, L"fnt")) {
            FontDefinition font;
            font.face = element.attributeText(L"name");
            font.size = std::clamp(number(element, L"size", 0), 0, 200);
            font.bold = number(element, L"bold", 0) != 0;
            font.clearType = number(element, L"cleartype", 1) != 0;
            font.id = number(element, L"id", 0);
            model_.fonts.insert(model_.fonts.begin(), std::move(font));
            return;
        }
        if (isType(type, L"tab")) {
            TabDefinition tab;
            tab.caption = element.attributeText(L"tabname");
            tab.layout = element.attributeText(L"layout");
            tab.id = number(element, L"id", 0);
            tab.font = number(element, L"fnt", 0);
            model_.tabs.insert(model_.tabs.begin(), std::move(tab));
            return;
        }
        // An object outside a layout belongs to the first layout read, when there is one.
        if (first_)
            object(element, model_.layouts[model_.layouts.size() - 1 - *first_]);
    }

    void layout(const core::XmlElement& element) {
        Layout layout;
        layout.name = element.attributeText(L"name");
        layout.height = std::max(0, length(element, L"height"));
        layout.width = std::clamp(number(element, L"width", 0), 0, kMaxLength);
        layout.startRoam = element.attributeText(L"start_roam");
        std::wstring rotate = element.attributeText(L"rotatespeed");
        if (element.attribute(L"rotatespeed") && !core::equalsIgnoringCase(rotate, L"auto"))
            layout.rotateSeconds = std::clamp(number(element, L"rotatespeed", 0), 0, 86400);
        model_.layouts.insert(model_.layouts.begin(), std::move(layout));
        Layout& added = model_.layouts.front();
        if (!first_)
            first_ = 0;  // counted from the back, which new layouts never move
        for (const auto& child : element.children) {
            if (core::equalsIgnoringCase(child.name, L"obj"))
                object(child, added);
        }
    }

    void object(const core::XmlElement& element, Layout& layout) {
        std::wstring type = element.attributeText(L"type");
        LayoutObject object;
        if (!kindOf(type, object))
            return;  // unknown types (and definitions inside a layout) are ignored
        int x = length(element, L"x");
        int y = length(element, L"y");
        object.rect = {x, y, x + std::max(0, length(element, L"w")),
                       y + std::max(0, length(element, L"h"))};
        object.city = number(element, L"city", 0);
        if (object.kind != ObjectKind::Clock) {
            object.font = number(element, L"fnt", 0);
            std::wstring justify = element.attributeText(L"jst");
            if (core::equalsIgnoringCase(justify, L"center"))
                object.justify = Justify::Center;
            else if (core::equalsIgnoringCase(justify, L"right"))
                object.justify = Justify::Right;
        }
        object.text = element.attributeText(L"text");
        object.format = element.attributeText(L"format");
        if (element.attribute(L"alarmoff"))
            object.alarmOff = element.attributeText(L"alarmoff");
        if (element.attribute(L"alarmon"))
            object.alarmOn = element.attributeText(L"alarmon");
        object.style = weatherStyleOf(element.attributeText(L"style"));
        if (!element.attribute(L"style"))
            object.style = weatherStyle::Icon;
        object.day = number(element, L"day", 0);
        object.station = number(element, L"station", 0);
        object.showUnit = number(element, L"showCF", 0) != 0;
        layout.objects.insert(layout.objects.begin(), std::move(object));
    }

    static bool kindOf(std::wstring_view type, LayoutObject& object) {
        struct Kind {
            std::wstring_view type;
            ObjectKind kind;
            int subKind;
        };
        static constexpr std::array<Kind, 13> kKinds{{
            {L"clock", ObjectKind::Clock, 0},
            {L"cityname", ObjectKind::Text, textKind::CityName},
            {L"fullcityname", ObjectKind::Text, textKind::FullCityName},
            {L"static", ObjectKind::Text, textKind::Static},
            {L"time", ObjectKind::Text, textKind::Time},
            {L"date", ObjectKind::Text, textKind::Date},
            {L"nextalarmicn", ObjectKind::NextAlarm, alarmKind::Icon},
            {L"nextalarm", ObjectKind::NextAlarm, alarmKind::Relative},
            {L"nextalarmtime", ObjectKind::NextAlarm, alarmKind::Time},
            {L"nextalarmname", ObjectKind::NextAlarm, alarmKind::Name},
            {L"weather", ObjectKind::Weather, weatherKind::Forecast},
            {L"weather_2", ObjectKind::Weather, weatherKind::Station},
            {L"weather_curr", ObjectKind::Weather, weatherKind::Current},
        }};
        for (const auto& k : kKinds) {
            if (isType(type, k.type)) {
                object.kind = k.kind;
                object.subKind = k.subKind;
                return true;
            }
        }
        return false;
    }

    LayoutModel& model_;
    // The first layout read, as its distance from the back of the list.
    std::optional<std::size_t> first_;
};

}  // namespace

int weatherStyleOf(std::wstring_view name) {
    struct Style {
        std::wstring_view name;
        int code;
    };
    static constexpr std::array<Style, 16> kStyles{{
        {L"min", weatherStyle::Min},
        {L"max", weatherStyle::Max},
        {L"day", weatherStyle::Day},
        {L"icon", weatherStyle::Icon},
        {L"date", weatherStyle::Date},
        {L"day/date", weatherStyle::DayOrDate},
        {L"comfort", weatherStyle::Comfort},
        {L"stationname", weatherStyle::StationName},
        {L"reporttime", weatherStyle::ReportTime},
        {L"windspeed", weatherStyle::WindSpeed},
        {L"winddir", weatherStyle::WindDirection},
        {L"visibility", weatherStyle::Visibility},
        {L"humidity", weatherStyle::Humidity},
        {L"desc", weatherStyle::Description},
        {L"windinfo", weatherStyle::WindInfo},
        // Accepted for old files; there is no separate minimum-and-maximum display.
        {L"minmax", weatherStyle::Day},
    }};
    for (const auto& s : kStyles) {
        if (core::equalsIgnoringCase(name, s.name))
            return s.code;
    }
    return weatherStyle::Icon;
}

std::wstring Layout::startRoamScreen() const {
    return startRoamForced() ? startRoam.substr(1) : startRoam;
}

std::optional<std::size_t> LayoutModel::firstLayout() const {
    if (layouts.empty())
        return std::nullopt;
    return layouts.size() - 1;
}

const FontDefinition* LayoutModel::font(int id) const {
    for (const auto& f : fonts) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}

const TabDefinition* LayoutModel::tab(int id) const {
    for (const auto& t : tabs) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

std::optional<std::size_t> LayoutModel::layoutForTab(int tabId, int screenWidth) const {
    if (layouts.empty())
        return std::nullopt;
    if (const TabDefinition* t = tab(tabId)) {
        std::optional<std::size_t> lastOfName;
        for (std::size_t i = 0; i < layouts.size(); ++i) {
            if (!core::equalsIgnoringCase(layouts[i].name, t->layout))
                continue;
            if (layouts[i].width == screenWidth)
                return i;
            lastOfName = i;
        }
        if (lastOfName)
            return lastOfName;
    }
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        if (layouts[i].width == screenWidth)
            return i;
    }
    return 0;
}

std::optional<std::size_t> LayoutModel::nextLayout(std::size_t current, int screenWidth) const {
    if (layouts.empty())
        return std::nullopt;
    for (std::size_t step = 1; step <= layouts.size(); ++step) {
        std::size_t i = (current + step) % layouts.size();
        if (layouts[i].width == screenWidth)
            return i;
    }
    return 0;
}

int LayoutModel::maxLayoutHeight() const {
    int tallest = 0;
    for (const auto& layout : layouts) tallest = std::max(tallest, layout.height);
    return tallest;
}

Rotation rotationFor(int optHomeRotate, Rotation previous) {
    switch (optHomeRotate) {
        case 1:
            return {true, 0};
        case 2:
            return {false, 0};
        case 3:
            return {false, 10};
        case 4:
            return {false, 20};
        case 5:
            return {false, 30};
        case 6:
            return {false, 60};
        default:
            return previous;
    }
}

int rotationSeconds(const Rotation& rotation, const Layout& layout) {
    if (!rotation.perLayout)
        return rotation.seconds;
    return layout.rotateSeconds.value_or(0);
}

double layoutScale(int workAreaWidth) {
    return workAreaWidth > 320 ? 2.0 : 1.0;
}

std::optional<int> layoutNumber(const core::XmlElement& element, std::wstring_view name) {
    if (!element.attribute(name))
        return std::nullopt;
    std::wstring text = element.attributeText(name);
    std::size_t i = text.find_first_not_of(L" \t");
    if (i == std::wstring::npos)
        return 0;
    wchar_t c = text[i];
    if (!((c >= L'0' && c <= L'9') || c == L'-' || c == L'+'))
        return 0;
    if (c == L'+')
        text.erase(i, 1);
    return worldtime::readInt(text);
}

LayoutModel buildLayoutModel(const core::XmlElement& document, double scale) {
    LayoutModel model;
    model.scale = scale;
    const core::XmlElement* homescreen = document.find({L"xml", L"homescreen"});
    // A file with both the declaration and an <xml> element of its own holds the screen one
    // level further down, below the declaration's element.
    if (!homescreen)
        homescreen = document.find({L"xml", L"xml", L"homescreen"});
    if (homescreen)
        Builder(model, scale).build(*homescreen);
    else
        model.tabHeight = static_cast<int>(16 * scale);
    return model;
}

LayoutModel parseLayout(std::span<const std::uint8_t> bytes, double scale) {
    auto document = core::parseXmlUtf8(bytes);
    if (!document)
        return buildLayoutModel(core::XmlElement{}, scale);
    return buildLayoutModel(*document, scale);
}

LayoutModel readLayoutFile(std::wstring_view devicePath, double scale) {
    auto document = core::readXmlFile(devicePath);
    if (!document)
        return buildLayoutModel(core::XmlElement{}, scale);
    return buildLayoutModel(*document, scale);
}

bool LayoutCache::load(std::wstring_view devicePath, double scale) {
    auto mapping = platform::MappedFile::open(devicePath);
    std::span<const std::uint8_t> view;
    // Larger files than the reader takes are not kept: they give an empty model.
    bool readable = mapping && mapping->bytes().size() <= core::XmlLimits{}.maxChars * 4;
    if (readable)
        view = mapping->bytes();
    bool same = loaded_ && path_ == devicePath && scale_ == scale &&
                bytes_.has_value() == readable &&
                (!readable || std::equal(view.begin(), view.end(), bytes_->begin(), bytes_->end()));
    if (same)
        return false;
    path_ = devicePath;
    scale_ = scale;
    loaded_ = true;
    if (readable) {
        bytes_.emplace(view.begin(), view.end());
        model_ = parseLayout(*bytes_, scale);
    } else {
        bytes_.reset();
        model_ = buildLayoutModel(core::XmlElement{}, scale);
    }
    return true;
}

int itemHeight(const LayoutModel& model, std::optional<std::size_t> layout, bool autoHeightSetting,
               int scale) {
    int height = 0;
    if (layout && *layout < model.layouts.size()) {
        bool autoHeight = model.autoHeight.value_or(autoHeightSetting);
        int tabs = model.hasTabs() ? model.tabHeight : 0;
        height = tabs + (autoHeight ? model.layouts[*layout].height : model.maxLayoutHeight());
    }
    return height > 0 ? height : 16 * scale;
}

std::wstring layoutFilePath(std::wstring_view mainPath) {
    auto chosen = core::readSetting(keys::OptHomeLayout.name, keys::OptHomeLayout.byteLimit);
    if (chosen && !chosen->empty())
        return *chosen;
    return std::wstring(mainPath) + L"home\\today_default.xml";
}

}  // namespace home
