// The message start-up shows when the settings store has no installation folder; the window and
// the console command both show it.
#pragma once

namespace tarvik::app {

inline constexpr const char* kMissingFolderMessage =
    "Impossibile trovare la cartella in cui è installato Tarvik. Verificare che il programma sia "
    "stato installato. E' possibile digitare manualmente la cartella.";

}  // namespace tarvik::app
