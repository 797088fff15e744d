// The German text table.
#include "shell/strings.h"

namespace shell {

const Strings& german_table() {
    static const Strings st{
        .frame_files = u"Dateien",
        .wav_files = u"WAV Datei:",
        .out_files = u"Ausgabe Datei [ASCII]:",
        .print_files = u"Screenshot Datei:",
        .frame_ch1 = u"Linker Kanal:",
        .frame_ch2 = u"Rechter Kanal:",
        .popup_sig = {{u"Lichtmaschine/Micro", u"Radsensoren", u"Trägheitsrolle", u"Zündzange",
                       u"Aus"},
                      19},
        .popup_sig1 = {{u"Lichtmaschine/Micro", u"Radsensoren", u"Trägheitsrolle", u"Aus"}, 19},
        .popup_sig2 = {{u"Lichtmaschine/Micro", u"Radsensoren", u"Zündzange", u"Aus"}, 19},
        .popup_sig3 = {{u"Lichtmaschine/Micro", u"Trägheitsrolle", u"Zündzange", u"Aus"}, 19},
        .popup_sig4 = {{u"Radsensoren", u"Trägheitsrolle", u"Zündzange", u"Aus"}, 19},
        .total_mass = u"Gesamt Gewicht [kg]:",
        .cw_value = u"Cw Wert:",
        .frontalA = u"Stirnfläche [m²]:",
        .fro_value = u"Rollwiderstandsbeiwert:",
        .gear_ratio = u"Getriebe Übersetzung:",
        .wheel_perim = u"Reifen Umfang [m]:",
        .lima = u"LiMa/Micro Signale pro Umd.:",
        .wheel_sens = u"Rad Sensoren:",
        .roll_sens = u"Rollen Sensoren:",
        .add_par = u"Parameter zum Kommentar hinzufügen",
        .add_wav = u"Wav Datei zum Kommentar hinzufügen",
        .filt_length = u"Filter Länge [s]:",
        .cut_Vmax = u"Diagramme nur bis Vmax zeigen",
        .cut_File = u"WAV Datei von Hand bearbeiten",
        .total_tork = u"Trägheitsmoment Rolle [kgm²]:",
        .cylin_perim = u"Rollen Umfang [m]:",
        .air_temp = u"Luft Temperatur [°C]",
        .air_pres = u"Luft Druck [mbar]",
        .min_rpm = u"Minimale Drehzahl [RPM]:",
        .max_rpm = u"Maximale Drehzahl [RPM]:",
        .frame_diag = u"Diagramme",
        .push_sdiag = u"Berechne Diagramm >>",
        .frame_xaxis = u"X - Achse",
        .popup_xaxis = {{u"RPM [1/min]", u"Zeit [s]", u"Strecke [m]", u"Geschwindigkeit [km/h]"},
                        22},
        .frame_yaxis = u"Y - Achse",
        .popup_yaxis = {{u"Leistung[PS]/Drehm[Nm]", u"Leistung[kW]/Drehm[Nm]", u"Leistung [PS]",
                         u"Leistung [kW]", u"Drehmoment [Nm]", u"Geschwindigkeit [km/h]",
                         u"Beschleunigung [m/s²]", u"Zeit [s]", u"Strecke [m]", u"RPM [1/min]",
                         u"Getriebe Übersetzung [1/1]"},
                        26},
        .fig_diag = u"Diagramme",
        .wb_sdiag = u"Berechne Diagramm",
        .set_color = u"Farbe",
        .comment = u"Kommentar",
        .title = u"Rovantel",
        .wait = u"Bitte warten",
        .get_file = u"...",
        .file_not_f = u"Datei nicht gefunden:",
        .file_error = u"Datei Fehler",
        .file_overw = u"Soll die Datei wirklich überschrieben werden?",
        .error_num2s = u"Fehlerhaftes Zahlenformat von ",
        .yes = u"Ja",
        .no = u"Nein",
        .accept = u"Übernehmen",
        .cancel = u"Abbrechen",
        .load = u"Laden",
        .save = u"Speichern",
        .bmp_file = u"BMP Dateien (*.bmp)",
        .sup_file = u"Unterstützte Bild Dateien (*.bmp,*,jpg,*.png,*.pdf)",
        .wav_file = u"WAV Dateien (*.wav)",
        .asc_file = u"ASCII Dateien (*.txt)",
        .all_file = u"Alle Dateien (*.*)",
        .cfg_file = u"CFG Dateien (*.cfg)",
        .par_file = u"Parameter Datei",
        .cut_next = u"Weiter",
        .cut_done = u"Fertig",
        .clear_cache = u"Zwischenspeicher löschen",
        .Wwheelcalc = u"Reifenumfang Rechner",
        .Wtirewidth = u"Reifenbreite",
        .Waspectrat = u"Verhältnis",
        .Wwheelsize = u"Felgengröße",
        .Wtiresize = u"Reifengröße",
        .Wwheellist = u"Reifen Tabelle",
        .Wtirename = u"Name",
        .Wtirecirc = u"Umfang",
        .Wtirerm = u"Entfernen",
        .Wtireadd = u"Hinzufügen",
        .Ggearlist = u"Getriebe Tabelle",
        .Ggear = u"Gang",
        .Gtype = u"Typ",
        .Gname = u"Fahrzeug",
        .Gratio = u"Übersetzung",
        .printfig = u"Screenshot",
        .exportascii = u"ASCII Export",
        .meanvis = u"Mittel",
        .warnexist = u"Existiert bereits.",
        .delask = u"Soll der Eintrag wirklich aus der Liste entfernt werden?",
        .addask = u"Soll der Eintrag der Liste hinzugefügt werden?",
        .titcut = u"Auswahl des Zeit-Intervalls.",
        .titera = u"Ausradieren der Störungen.",
        .run_too_short = u"Der Lauf hat zu wenige Messwerte für eine Auswertung.",
        .lowpass_fails =
            u"Der Tiefpassfilter lässt sich nicht entwerfen: Die Zeiten des Laufs steigen nicht "
            u"an oder die Filterlänge ist nicht größer als null.",
        .fro_no_number = u"Der Rollwiderstandsbeiwert ist keine Zahl.",
        .channel_pair = u"Diese Kanalwahl bieten die Kanallisten nicht an:",
        .rpm_not_finite =
            u"Die Drehzahlgrenzen und die Signale pro Umdrehung müssen endliche Zahlen sein.",
        .rpm_band_empty = u"Minimale und maximale Drehzahl müssen sich unterscheiden.",
        .no_speed_to_cut =
            u"Die Aufnahme zeigt keine Geschwindigkeit, aus der sich ein Zeitintervall wählen "
            u"ließe.",
        .par_no_var = u"ist keine Parameterdatei: Es fehlt die Variable",
        .par_bad_row = u"enthält eine Auswahl außerhalb ihrer Liste: Variable",
        .tab_bad_field =
            u"Ein Feld des Eintrags enthält \";\", einen Zeilenumbruch, ein Zeichen, das die "
            u"Tabellendatei nicht speichern kann, oder mehr als 1000 Zeichen. Es wurde nichts "
            u"geschrieben.",
        .tab_full =
            u"Die Tabelle enthält bereits 100.000 Einträge, so viele, wie eine "
            u"Tabellendatei fassen kann. Es wurde nichts geschrieben.",
        .tab_at_line = u", Zeile %d:",
        .tab_bad_file =
            u"Diese Zeile ist kein Tabelleneintrag. Jeder Eintrag besteht aus vier Feldern, jedes "
            u"mit \";\" abgeschlossen, ein Eintrag pro Zeile, Zeilenende LF.",
        .tab_long_field = u"Ein Feld ist länger als 1000 Zeichen.",
        .tab_many_lines = u"Die Tabelle hat mehr als 100.000 Zeilen.",
        .tab_write_failed =
            u"konnte nicht geschrieben werden; die bisherige Tabelle bleibt unverändert.",
        .save_no_file = u"Der Name gibt einen Ordner an, keine Datei.",
        .save_read_only = u"Die Datei ist schreibgeschützt.",
        .save_dir_locked = u"Der Ordner ist schreibgeschützt.",
        .save_disk_full = u"Auf dem Datenträger ist kein Platz mehr frei.",
        .save_not_a_file =
            u"Unter diesem Namen gibt es schon etwas anderes als eine Datei, etwa einen Ordner.",
        .mean_no_common =
            u"Die angehakten Läufe haben keinen gemeinsamen x-Bereich; es gibt "
            u"kein Mittel.",
        .write_failed =
            u"konnte nicht geschrieben werden; eine vorhandene Datei bleibt unverändert.",
    };
    return st;
}

}  // namespace shell
