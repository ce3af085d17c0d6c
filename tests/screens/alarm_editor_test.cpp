// The alarm editor inside the program's own application: the values a new alarm starts with,
// the controls each repeat kind enables, the day boxes by stylus and keys, the checks made on
// saving (a time in the past, no day ticked, a name already taken) and what a save stores and
// arms; editing an alarm shows its values and keeps them through a rotation.

#include <chrono>
#include <fstream>
#include <thread>

#include "alarms/screens/alarm_editor_layout.h"
#include "alarms/screens/day_boxes.h"
#include "alarms/screens/editor_scroll_bar.h"
#include "alarms/screens/sound_list.h"
#include "platform/api/control.h"
#include "platform/api/profile.h"
#include "platform/api/sound.h"
#include "tests/screens/support/alarm_fixture.h"
#include "ui/date_time_picker.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/text_button.h"

using namespace platform;

namespace alarms::test {
namespace {

using namespace alarmEditId;

class AlarmEditorTest : public AlarmScreenTest {
  protected:
    void openNew() {
        open(ui::moduleId::Alarms);
        tap({listScreen().list().rowRect(1).left + 20, listScreen().list().rowRect(1).top + 10});
        ASSERT_EQ(app_->currentModuleId(), ui::moduleId::AlarmEdit);
        ASSERT_TRUE(editor().isNew());
    }
    void setText(int id, std::wstring_view text) {
        editor().findControl<ui::EditField>(id)->setText(text);
    }
    void setTime(int hour, int minute) {
        SystemTime t = deviceLocalTime();
        t.hour = static_cast<std::uint16_t>(hour);
        t.minute = static_cast<std::uint16_t>(minute);
        ASSERT_TRUE(editor().findControl<ui::DateTimePicker>(Time)->setTime(t));
    }
    bool visible(int id) { return editor().findControl(id)->isVisible; }
    bool enabled(int id) { return editor().findControl(id)->isEnabled; }
    std::wstring caption(int id) { return editor().findControl<ui::Label>(id)->text(); }
    AlarmStore store() { return AlarmStore(); }
};

TEST_F(AlarmEditorTest, KeysWalkThroughTheControlsAndPastTheTimePicker) {
    openNew();
    ASSERT_EQ(editor().focusedControl(), editor().findControl(Name));
    key(vk::Down);
    EXPECT_EQ(editor().focusedControl(), editor().findControl(Message));
    key(vk::Down);
    EXPECT_EQ(editor().focusedControl(), editor().findControl(Repeat));
    key(vk::Down);
    ASSERT_EQ(editor().focusedControl(), editor().findControl(Time));
    // Down steps the picker's hours; Enter leaves it for the next control.
    key(vk::Down);
    EXPECT_EQ(editor().findControl<ui::DateTimePicker>(Time)->time().hour, 9);
    key(vk::Return);
    EXPECT_EQ(editor().focusedControl(), editor().findControl(Now));
}

TEST_F(AlarmEditorTest, ANewAlarmStartsWithTheDefaultValues) {
    openNew();
    EXPECT_EQ(editor().findControl<ui::EditField>(Name)->text(), L"Alarm");
    EXPECT_EQ(editor().findControl<ui::EditField>(Message)->text(), L"Time to get up!");
    EXPECT_EQ(chosen(Repeat), 4) << "working days";
    EXPECT_EQ(chosen(DayOfMonth), 1);
    EXPECT_EQ(chosen(Month), 1);
    EXPECT_EQ(chosen(City), 1);
    EXPECT_EQ(chosen(Sound), 1);
    EXPECT_EQ(chosen(Volume), 1);
    EXPECT_EQ(chosen(Ring), 1);
    EXPECT_EQ(chosen(Snooze), 2);
    SystemTime time = editor().findControl<ui::DateTimePicker>(Time)->time();
    EXPECT_EQ(time.hour, 10);
    EXPECT_EQ(time.minute, 30);
    SystemTime date = editor().findControl<ui::DateTimePicker>(Date)->time();
    EXPECT_EQ(date.year, 2026);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 8);
    // The lists hold every item: seven kinds, 31 days with their endings, the favourites.
    EXPECT_EQ(editor().list(Repeat)->table()->rowCount(), 7);
    const core::RecordTable& days = *editor().list(DayOfMonth)->table();
    ASSERT_EQ(days.rowCount(), 31);
    EXPECT_EQ(days.fieldText(1, 1), L"1st");
    EXPECT_EQ(days.fieldText(2, 1), L"2nd");
    EXPECT_EQ(days.fieldText(3, 1), L"3rd");
    EXPECT_EQ(days.fieldText(11, 1), L"11th");
    EXPECT_EQ(days.fieldText(22, 1), L"22nd");
    EXPECT_EQ(days.fieldText(31, 1), L"31st");
    const core::RecordTable& cities = *editor().list(City)->table();
    EXPECT_EQ(cities.fieldText(1, 1), L"Device time");
    EXPECT_GT(cities.rowCount(), 1);
    EXPECT_EQ(cities.fieldText(2, 1).substr(cities.fieldText(2, 1).size() - 5), L" time");
    EXPECT_EQ(editor().list(Sound)->table()->fieldText(1, 1), L"Vibrate");
}

TEST_F(AlarmEditorTest, EachRepeatKindEnablesItsControls) {
    openNew();
    struct Expected {
        int kind;
        bool days, single, dateEnabled, dayOfMonth, month;
        const wchar_t* caption;
    };
    const Expected cases[] = {
        {1, false, false, true, false, false, L"Date:"},
        {2, true, false, false, false, false, L"Days:"},
        {3, true, true, false, false, false, L"Days:"},
        {4, true, false, false, false, false, L"Days:"},
        {5, false, false, false, true, false, L"Date:"},
        {6, false, false, false, true, true, L"Days:"},
        {7, true, false, false, false, false, L"Days:"},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.kind);
        choose(Repeat, e.kind);
        EXPECT_EQ(visible(Days), e.days);
        EXPECT_EQ(editor().days().singleChoice(), e.single);
        // The date shows wherever the day boxes do not, enabled for a one-off alarm alone.
        EXPECT_EQ(visible(Date), !e.days);
        EXPECT_EQ(enabled(Date), e.dateEnabled);
        EXPECT_EQ(enabled(DayOfMonth), e.dayOfMonth);
        EXPECT_EQ(enabled(Month), e.month);
        EXPECT_EQ(caption(DateCaption), e.caption);
    }
}

TEST_F(AlarmEditorTest, NowAndTodayPutThePresentIntoThePickers) {
    openNew();
    choose(Repeat, 1);
    setTime(5, 5);
    SystemTime other = deviceLocalTime();
    other.day = 20;
    ASSERT_TRUE(editor().findControl<ui::DateTimePicker>(Date)->setTime(other));
    tapControl(Now);
    tapControl(Today);
    SystemTime time = editor().findControl<ui::DateTimePicker>(Time)->time();
    EXPECT_EQ(time.hour, 10);
    EXPECT_EQ(time.minute, 30);
    EXPECT_EQ(editor().findControl<ui::DateTimePicker>(Date)->time().day, 8);
    // Where the day boxes show, the date and its button give way to them.
    choose(Repeat, 2);
    EXPECT_FALSE(visible(Today));
    EXPECT_FALSE(visible(Date));
}

TEST_F(AlarmEditorTest, DayBoxesTickByStylusAndKeys) {
    openNew();
    choose(Repeat, 7);
    DayBoxes& days = editor().days();
    // The rightmost box is Sunday, 17 layout pixels in from the right edge, 19 apart.
    EXPECT_EQ((days.boxRect(7).left + days.boxRect(7).right) / 2, days.rect.right - 17);
    EXPECT_EQ(days.boxRect(7).left - days.boxRect(6).left, 19);
    tap({(days.boxRect(1).left + days.boxRect(1).right) / 2, days.boxRect(1).top + 2});
    tap({(days.boxRect(5).left + days.boxRect(5).right) / 2, days.boxRect(5).top + 2});
    EXPECT_EQ(days.mask(), dayBit::Monday | dayBit::Friday);
    tap({(days.boxRect(1).left + days.boxRect(1).right) / 2, days.boxRect(1).top + 2});
    EXPECT_EQ(days.mask(), dayBit::Friday);
    // Keys: the focus wraps from Sunday to Monday and back; Enter ticks the focused box.
    ASSERT_EQ(editor().focusedControl(), &days);
    EXPECT_EQ(days.focusedBox(), 1);
    key(vk::Left);
    EXPECT_EQ(days.focusedBox(), 7);
    key(vk::Return);
    key(vk::Right);
    key(vk::Right);
    EXPECT_EQ(days.focusedBox(), 2);
    key(vk::Return);
    EXPECT_EQ(days.mask(), dayBit::Friday | dayBit::Sunday | dayBit::Tuesday);
    // Weekly boxes are single choice: a tick moves rather than adds; the days ticked before
    // stay until then.
    choose(Repeat, 3);
    EXPECT_EQ(days.mask(), dayBit::Friday | dayBit::Sunday | dayBit::Tuesday);
    tap({(days.boxRect(4).left + days.boxRect(4).right) / 2, days.boxRect(4).top + 2});
    EXPECT_EQ(days.mask(), dayBit::Thursday);
}

TEST_F(AlarmEditorTest, AOneOffAlarmInThePastIsRefusedAndNothingIsStored) {
    openNew();
    choose(Repeat, 1);
    setTime(10, 29);
    EXPECT_EQ(editor().save(), EditorRefusal::PastOrNoDays);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(78));
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::AlarmEdit) << "the editor stays open";
    EXPECT_FALSE(fileExists(kStoreFile));
    EXPECT_TRUE(notifications().empty());
    // A minute ahead is accepted and armed for today.
    setTime(10, 31);
    softKey(0);
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::Alarms);
    ASSERT_EQ(notifications().size(), 1u);
    EXPECT_EQ(notifications()[0].arguments, L"/ALARM Alarm");
    EXPECT_EQ(notifications()[0].start.day, 8);
    EXPECT_EQ(notifications()[0].start.hour, 10);
    EXPECT_EQ(notifications()[0].start.minute, 31);
}

TEST_F(AlarmEditorTest, ChosenDaysNeedATickedDayWhileDailyAndWorkingDaysDoNot) {
    openNew();
    choose(Repeat, 7);
    EXPECT_EQ(editor().save(), EditorRefusal::PastOrNoDays);
    choose(Repeat, 3);
    EXPECT_EQ(editor().save(), EditorRefusal::PastOrNoDays)
        << "a weekly alarm without a day would never ring";
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_FALSE(fileExists(kStoreFile));
    choose(Repeat, 4);
    EXPECT_EQ(editor().days().mask(), 0);
    EXPECT_EQ(editor().save(), EditorRefusal::None);
    pump();
    EXPECT_EQ(store().rowCount(), 1);
    EXPECT_EQ(store().repeatKind(1), RepeatKind::WorkingDays);
}

TEST_F(AlarmEditorTest, ANameAlreadyTakenIsRefusedWhateverItsCase) {
    storeAlarm(daily(L"Wake", 7, 0), true);
    openNew();
    setText(Name, L"wAKE");
    choose(Repeat, 2);
    EXPECT_EQ(editor().save(), EditorRefusal::DuplicateName);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(77));
    EXPECT_EQ(editor().focusedControl(), editor().findControl(Name));
    EXPECT_EQ(store().rowCount(), 1);
    EXPECT_EQ(notifications().size(), 1u);
    // An empty name is refused too, and so is a name of blanks.
    setText(Name, L"   ");
    EXPECT_EQ(editor().save(), EditorRefusal::InvalidName);
    EXPECT_EQ(store().rowCount(), 1);
}

TEST_F(AlarmEditorTest, SavingADailyAlarmStoresEveryFieldAndArmsIt) {
    openNew();
    setText(Name, L"Gym");
    setText(Message, L"Bag is by the door");
    choose(Repeat, 2);
    setTime(7, 0);
    choose(City, 2);
    choose(Volume, 7);
    choose(Ring, 3);
    choose(Snooze, 5);
    std::wstring city(editor().list(City)->table()->fieldText(2, 2));
    softKey(0);
    ASSERT_EQ(app_->currentModuleId(), ui::moduleId::Alarms);
    AlarmStore saved;
    ASSERT_EQ(saved.rowCount(), 1);
    AlarmRecord r = saved.record(1);
    EXPECT_EQ(r.name, L"Gym");
    EXPECT_EQ(r.message, L"Bag is by the door");
    EXPECT_EQ(r.kind, RepeatKind::Daily);
    EXPECT_EQ(r.timeOfDayMs, 7 * 3600000);
    EXPECT_EQ(r.city, city);
    EXPECT_NE(r.zone, kDeviceZone);
    EXPECT_EQ(r.volume, 7);
    EXPECT_EQ(r.ringTime, 3);
    EXPECT_EQ(r.snooze, 5);
    EXPECT_EQ(r.soundName, L"Vibrate");
    EXPECT_EQ(r.soundPath, L"Vibrate");
    ASSERT_NE(r.handle, 0u);
    auto armed = userNotification(r.handle);
    ASSERT_TRUE(armed);
    EXPECT_EQ(armed->arguments, L"/ALARM Gym");
    EXPECT_EQ(armed->application, L"\\windows\\vornalarms.exe");
    // The list shows the new alarm selected, armed, in its city.
    EXPECT_EQ(listScreen().list().currentRow(), 2);
    EXPECT_EQ(listScreen().list().rows().row(2).title, L"Gym : " + city);
}

TEST_F(AlarmEditorTest, EditingShowsTheRecordAndSavesOverIt) {
    AlarmRecord r = daily(L"Late", 22, 15);
    r.kind = RepeatKind::Yearly;
    r.dayOfMonth = 29;
    r.month = 2;
    r.volume = 0;  // out of range: shown as the first entry
    r.snooze = 9;  // likewise
    r.soundName = L"Chime.wav";
    r.soundPath = L"\\Program Files\\Vorn Roamer\\sounds\\Chime.wav";
    storeAlarm(r, true);
    storeAlarm(daily(L"Other", 6, 0), true);
    open(ui::moduleId::Alarms);
    tap({listScreen().list().rowRect(2).left + 20, listScreen().list().rowRect(2).top + 10});
    ASSERT_EQ(app_->currentModuleId(), ui::moduleId::AlarmEdit);
    EXPECT_FALSE(editor().isNew());
    EXPECT_EQ(editor().findControl<ui::EditField>(Name)->text(), L"Late");
    EXPECT_EQ(chosen(Repeat), 6);
    EXPECT_EQ(chosen(DayOfMonth), 29);
    EXPECT_EQ(chosen(Month), 2);
    EXPECT_EQ(chosen(Volume), 1);
    EXPECT_EQ(chosen(Snooze), 1);
    EXPECT_EQ(editor().list(Sound)->shownText(), L"Chime.wav");
    EXPECT_TRUE(enabled(Month));
    // Keeping its own name is no duplicate; taking the other alarm's name is.
    setText(Name, L"OTHER");
    EXPECT_EQ(editor().save(), EditorRefusal::DuplicateName);
    setText(Name, L"Late");
    choose(Repeat, 2);
    softKey(0);
    ASSERT_EQ(app_->currentModuleId(), ui::moduleId::Alarms);
    AlarmStore saved;
    ASSERT_EQ(saved.rowCount(), 2);
    EXPECT_EQ(saved.repeatKind(saved.find(L"Late")), RepeatKind::Daily);
    EXPECT_EQ(notifications().size(), 2u) << "the old notification was replaced, not kept";
}

TEST_F(AlarmEditorTest, AWeeklyAlarmOfTwoDaysKeepsBothThroughTheEditor) {
    AlarmRecord r = daily(L"Gym", 18, 30);
    r.kind = RepeatKind::Weekly;
    r.dayMask = dayBit::Monday | dayBit::Thursday;
    storeAlarm(r, true);
    open(ui::moduleId::Alarms);
    tap({listScreen().list().rowRect(2).left + 20, listScreen().list().rowRect(2).top + 10});
    ASSERT_EQ(app_->currentModuleId(), ui::moduleId::AlarmEdit);
    EXPECT_TRUE(editor().days().singleChoice());
    EXPECT_EQ(editor().days().mask(), dayBit::Monday | dayBit::Thursday);
    softKey(0);
    ASSERT_EQ(app_->currentModuleId(), ui::moduleId::Alarms);
    EXPECT_EQ(AlarmStore().record(1).dayMask, dayBit::Monday | dayBit::Thursday);
}

TEST_F(AlarmEditorTest, CancelStoresNothingAndATurnKeepsTheValues) {
    openNew();
    setText(Name, L"Turned");
    choose(Repeat, 5);
    choose(DayOfMonth, 31);
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(editor().findControl<ui::EditField>(Name)->text(), L"Turned");
    EXPECT_EQ(chosen(Repeat), 5);
    EXPECT_EQ(chosen(DayOfMonth), 31);
    EXPECT_TRUE(enabled(DayOfMonth));
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
    softKey(1);
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::Alarms);
    EXPECT_FALSE(fileExists(kStoreFile));
}

TEST_F(AlarmEditorTest, TheSoundListReadsTheThreeFoldersInOrder) {
    auto root = platform::deviceRoot();
    std::filesystem::create_directories(root / "My Ringtones" / "sub.wav");
    for (const char* name : {"b.mp3", "a.wma", ".hidden.wav", "z.wav", "notes.txt"})
        std::ofstream(root / "My Ringtones" / name) << "x";
    std::ofstream(root / "windows" / "ding.WAV") << "x";
    core::RecordTable sounds = buildSoundList(L"\\Program Files\\Vorn Roamer\\");
    std::vector<std::wstring> names, paths;
    for (int row = 1; row <= sounds.rowCount(); ++row) {
        names.emplace_back(sounds.fieldText(row, 1));
        paths.emplace_back(sounds.fieldText(row, 2));
    }
    std::filesystem::remove_all(root / "My Ringtones");
    std::filesystem::remove(root / "windows" / "ding.WAV");
    // Vibrate, the install folder's own sounds (wav), then the ringtones pattern by pattern,
    // then \Windows.
    const std::vector<std::wstring> expected = {L"Vibrate",     L"Alarm1.wav", L"Chime.wav",
                                                L"Digital.wav", L"Gentle.wav", L"z.wav",
                                                L"b.mp3",       L"a.wma",      L"ding.WAV"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(paths[0], L"Vibrate");
    EXPECT_EQ(paths[1], L"\\Program Files\\Vorn Roamer\\sounds\\Alarm1.wav");
    EXPECT_EQ(paths[5], L"\\My Ringtones\\z.wav");
    EXPECT_EQ(paths[8], L"\\Windows\\ding.WAV");
}

}  // namespace
}  // namespace alarms::test

namespace alarms::test {
namespace {

class AlarmPreviewTest : public AlarmScreenTest {};

TEST_F(AlarmPreviewTest, ThePreviewButtonPlaysTheChosenSoundAndStopsIt) {
    clearPlayLog();
    open(ui::moduleId::Alarms);
    app_->currentModule()->command(alarmListCommand::New, 0);
    pump();
    ASSERT_EQ(app_->currentModuleId(), ui::moduleId::AlarmEdit);
    choose(alarmEditId::Sound, 2);  // the install folder's first sound, Alarm1.wav
    choose(alarmEditId::Volume, 4);
    auto* button = editor().findControl<ui::TextButton>(alarmEditId::Preview);
    EXPECT_EQ(button->text(), L"Play");
    tapControl(alarmEditId::Preview);
    EXPECT_TRUE(editor().previewPlaying());
    EXPECT_EQ(button->text(), L"Stop");
    EXPECT_EQ(core::readSetting(L"AlarmVol", core::byteLimit::Number).value_or(L""), L"4");
    EXPECT_EQ(core::readSetting(L"AlarmSound", core::byteLimit::Path).value_or(L""),
              L"\\Program Files\\Vorn Roamer\\sounds\\Alarm1.wav");
    // The wave loop plays the file within a moment.
    for (int i = 0; i < 200 && playLog().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(playLog().empty());
    EXPECT_EQ(playLog().front().file, L"\\Program Files\\Vorn Roamer\\sounds\\Alarm1.wav");
    tapControl(alarmEditId::Preview);
    EXPECT_FALSE(editor().previewPlaying());
    EXPECT_EQ(button->text(), L"Play");
    // Playing again and leaving the editor stops the sound as well.
    tapControl(alarmEditId::Preview);
    EXPECT_TRUE(editor().previewPlaying());
    softKey(1);
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::Alarms);
    std::size_t plays = playLog().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(playLog().size(), plays) << "nothing plays once the editor is gone";
}

}  // namespace
}  // namespace alarms::test

namespace alarms::test {
namespace {

// The editor on a square screen is taller than the screen: it scrolls with the focus and by
// its scroll bar, and the list keeps its selection through the turn to the square.
class AlarmSquareTest : public AlarmScreenTest {
  protected:
    void TearDown() override {
        setScreenProfile(before_);
        broadcastScreenChanged();
        pump();
        AlarmScreenTest::TearDown();
    }
    ScreenProfile before_ = screenProfile();
};

TEST_F(AlarmSquareTest, TheEditorScrollsByFocusAndScrollBar) {
    storeAlarm(daily(L"Kept", 7, 0), true);
    open(ui::moduleId::Alarms);
    key(vk::Down);
    ASSERT_EQ(listScreen().list().currentRow(), 2);
    auto square = screenProfileFromName("240x240");
    ASSERT_TRUE(square);
    setScreenProfile(*square);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(listScreen().list().currentRow(), 2) << "the selection survives the new shape";
    key(vk::Return);
    ASSERT_EQ(app_->currentModuleId(), ui::moduleId::AlarmEdit);
    AlarmEditorScreen& e = editor();
    ASSERT_TRUE(e.scrolls);
    Rect client = clientRect(app_->mainWindow());
    ui::Control* snooze = e.findControl(alarmEditId::Snooze);
    EXPECT_GT(snooze->rect.bottom, client.bottom) << "the last list starts out of view";
    // Focusing the last control brings it into view.
    e.setFocusedControl(snooze);
    e.scrollFocusedIntoView();
    EXPECT_GT(e.scrollY, 0);
    EXPECT_LE(snooze->rect.bottom, client.bottom);
    // The scroll bar stays in place; its up arrow scrolls back, never past the top.
    auto* bar = e.findControl<EditorScrollBar>(alarmEditId::ScrollBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->rect.top, 0);
    Rect up = bar->geometry().upArrow;
    for (int i = 0; i < 20; ++i) tap({(up.left + up.right) / 2, (up.top + up.bottom) / 2});
    EXPECT_EQ(e.scrollY, 0);
    EXPECT_EQ(e.findControl(alarmEditId::Name)->rect.top, 4);
    Rect down = bar->geometry().downArrow;
    for (int i = 0; i < 40; ++i) tap({(down.left + down.right) / 2, (down.top + down.bottom) / 2});
    EXPECT_LE(snooze->rect.bottom, client.bottom);
    EXPECT_GE(snooze->rect.bottom, client.bottom - 8) << "never past the last control";
}

}  // namespace
}  // namespace alarms::test
