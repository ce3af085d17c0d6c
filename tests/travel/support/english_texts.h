#pragma once
// The English language file of the source tree as a text source, so the tests see the texts
// the programs show.

#include "travel/trip_agenda.h"

namespace travel::test {

TextSource englishTexts();
platform::SystemTime at(int year, int month, int day, int hour = 0, int minute = 0);

}  // namespace travel::test
