#pragma once
// The language strings of the home-mode screen by number.

namespace home::homeText {

constexpr int Menu = 16, CancelUpdate = 15, UpdateCaption = 225, CancelAlarm = 226, SetAlarm = 228,
              RingsToday = 230, RingsTomorrow = 231, Now = 232, About = 233, ViewDay = 234,
              NewAppointment = 235, WeatherDetails = 236, CancelCaption = 237, UpdateWeather = 239,
              Cities = 241, NowScreen = 670, Weather = 654, NotStarted = 713, Calendar = 800,
              NoForecast = 159, Downloading = 160, TapUpdate = 161, NoCurrent1 = 162,
              NoCurrent2 = 163, NoCurrent3 = 164, NowTemperature = 165;

}  // namespace home::homeText
