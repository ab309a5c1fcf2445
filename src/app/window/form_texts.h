// The texts of the main window, the same in the Qt window and the native Windows one.
#pragma once

namespace tarvik::app::window {

inline constexpr char kCaption[] = "Importa dati Tarvik - prima parte";
inline constexpr char kLabel1Text[] =
    "Questa è la prima parte del trasferimento dati. Gli archivi dovrebbero trovarsi nella cartella "
    "specificata più in basso. E' possibile modificare il percorso, ma normalmente non dovrebbe "
    "essere necessario.";
inline constexpr char kLabel2Text[] = "Cartella di installazione Tarvik";
inline constexpr char kCommand1Text[] = "Procedi";
inline constexpr char kLblAvanzamentoText[] = "Avanzamento";

}  // namespace tarvik::app::window
