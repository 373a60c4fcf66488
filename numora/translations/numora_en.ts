<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>numora::CommandLine</name>
    <message>
        <source>Aufruf: numora [--help | --version]
       numora --export-csv DATEI [--profile NAME]

Numora, der Rechentrainer für Kinder. Ohne Optionen öffnet sich sein Fenster.

  --help, -h           diese Hilfe zeigen und beenden
  --version            die Version zeigen und beenden
  --export-csv DATEI   den Lernfortschritt aller Kinder als CSV-Datei schreiben,
                       ohne Fenster
  --profile NAME       mit --export-csv: nur den Fortschritt des Kindes NAME
</source>
        <extracomment>The answer to &quot;numora --help&quot;. The option names stay as they are.</extracomment>
        <translation>Usage: numora [--help | --version]
       numora --export-csv FILE [--profile NAME]

Numora, the arithmetic trainer for children. Without options its window opens.

  --help, -h           show this help and exit
  --version            show the version and exit
  --export-csv FILE    write the progress of all children to a CSV file,
                       without a window
  --profile NAME       with --export-csv: only the progress of the child NAME
</translation>
    </message>
</context>
<context>
    <name>numora::CsvExport</name>
    <message>
        <source>beendet</source>
        <translation>finished</translation>
    </message>
    <message>
        <source>abgebrochen</source>
        <translation>abandoned</translation>
    </message>
    <message>
        <source>offen beim Beenden</source>
        <translation>open when closed</translation>
    </message>
    <message>
        <source>offen</source>
        <translation>open</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Child</translation>
    </message>
    <message>
        <source>Beginn der Runde</source>
        <translation>Round started</translation>
    </message>
    <message>
        <source>Stufe</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Runde</source>
        <translation>Round</translation>
    </message>
    <message>
        <source>Übung</source>
        <translation>Practice</translation>
    </message>
    <message>
        <source>Platz</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>Aufgabe</source>
        <translation>Task</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Art</source>
        <translation>Kind of task</translation>
    </message>
    <message>
        <source>Antworten</source>
        <translation>Answers</translation>
    </message>
    <message>
        <source>Falsche Antworten</source>
        <translation>Wrong answers</translation>
    </message>
    <message>
        <source>Gelöst</source>
        <translation>Solved</translation>
    </message>
    <message>
        <source>Sekunden bis gelöst</source>
        <translation>Seconds until solved</translation>
    </message>
    <message>
        <source>Die Datei %1 konnte nicht geschrieben werden: %2</source>
        <translation>The file %1 could not be written: %2</translation>
    </message>
    <message>
        <source>abgebrochen (Programmende)</source>
        <translation>abandoned (program ended)</translation>
    </message>
</context>
<context>
    <name>numora::ExportCommand</name>
    <message>
        <source>Aufruf: numora --export-csv DATEI [--profile NAME]</source>
        <translation>Usage: numora --export-csv FILE [--profile NAME]</translation>
    </message>
    <message>
        <source>Kein Kind heißt „%1“. Vorhanden: %2</source>
        <translation>No child is called “%1”. There are: %2</translation>
    </message>
</context>
<context>
    <name>numora::HistoryLines</name>
    <message>
        <source>   Runde     Schwierig-  gelöste  Punkte  Fehler  Sekunden</source>
        <translation>   Round      Level    Solved   Points   Errors  Seconds</translation>
    </message>
    <message>
        <source>             keitsstufe  Aufgaben </source>
        <translation>                        tasks </translation>
    </message>
    <message>
        <source>Gesamt</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Sonderpunkte: %1</source>
        <translation>Bonus points: %1</translation>
    </message>
</context>
<context>
    <name>numora::ProfileDialog</name>
    <message>
        <source>Kind wechseln</source>
        <translation>Change child</translation>
    </message>
    <message>
        <source>&amp;Wer übt jetzt?</source>
        <translation>&amp;Who is practising now?</translation>
    </message>
    <message>
        <source>Kinder</source>
        <translation>Children</translation>
    </message>
    <message>
        <source>&amp;Neues Kind …</source>
        <translation>&amp;New child …</translation>
    </message>
    <message>
        <source>&amp;Umbenennen …</source>
        <translation>&amp;Rename …</translation>
    </message>
    <message>
        <source>&amp;Löschen …</source>
        <translation>&amp;Delete …</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Name des Kindes:</source>
        <translation>The child&apos;s name:</translation>
    </message>
    <message>
        <source>Bitte gib einen Namen ein.</source>
        <translation>Please enter a name.</translation>
    </message>
    <message>
        <source>Es gibt schon ein Kind mit dem Namen %1. Bitte wähle einen anderen Namen.</source>
        <translation>There is already a child called %1. Please choose another name.</translation>
    </message>
    <message>
        <source>Neues Kind</source>
        <translation>New child</translation>
    </message>
    <message>
        <source>%1 konnte nicht angelegt werden.</source>
        <translation>%1 could not be added.</translation>
    </message>
    <message>
        <source>Kind umbenennen</source>
        <translation>Rename child</translation>
    </message>
    <message>
        <source>%1 konnte nicht umbenannt werden.</source>
        <translation>%1 could not be renamed.</translation>
    </message>
    <message>
        <source>1 Runde</source>
        <translation>1 round</translation>
    </message>
    <message>
        <source>%1 Runden</source>
        <translation>%1 rounds</translation>
    </message>
    <message>
        <source>1 gelösten Aufgabe</source>
        <translation>1 solved task</translation>
    </message>
    <message>
        <source>%1 gelösten Aufgaben</source>
        <translation>%1 solved tasks</translation>
    </message>
    <message>
        <source>Kind löschen</source>
        <translation>Delete child</translation>
    </message>
    <message>
        <source>Soll %1 gelöscht werden?

Damit geht alles verloren, was für dieses Kind gespeichert ist: %2 mit %3. Das lässt sich nicht rückgängig machen.</source>
        <translation>Delete %1?

Everything stored for this child will be lost: %2 with %3. This cannot be undone.</translation>
    </message>
    <message>
        <source>%1 konnte nicht gelöscht werden.</source>
        <translation>%1 could not be deleted.</translation>
    </message>
    <message>
        <source>„%1“</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>Soll %1 gelöscht werden?

Für dieses Kind ist noch nichts gespeichert.</source>
        <translation>Delete %1?

Nothing has been stored for this child yet.</translation>
    </message>
</context>
<context>
    <name>numora::ProfileSwitching</name>
    <message>
        <source>Kind</source>
        <translation>Child</translation>
    </message>
    <message>
        <source>&amp;Kind wechseln …</source>
        <translation>&amp;Change child …</translation>
    </message>
</context>
<context>
    <name>numora::ProgressCharts</name>
    <message>
        <source>Stufe %1</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>MM.yyyy</source>
        <extracomment>Date formats of the time axis: day and month; month and year.</extracomment>
        <translation>MM/yyyy</translation>
    </message>
    <message>
        <source>dd.MM.</source>
        <translation>MM/dd</translation>
    </message>
    <message>
        <source>Punkte</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Gelöste Aufgaben</source>
        <translation>Tasks solved</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Beim ersten Versuch richtig (%)</source>
        <translation>Right at the first try (%)</translation>
    </message>
    <message>
        <source>Sekunden pro Aufgabe</source>
        <translation>Seconds per task</translation>
    </message>
    <message>
        <source>Sekunden</source>
        <translation>Seconds</translation>
    </message>
    <message>
        <source>Keine Aufgaben in diesem Zeitraum.</source>
        <translation>No tasks in this period.</translation>
    </message>
    <message>
        <source>Beim ersten Versuch richtig: %1.</source>
        <translation>Right at the first try: %1.</translation>
    </message>
    <message>
        <source>Punkte und gelöste Aufgaben</source>
        <translation>Points and tasks solved</translation>
    </message>
    <message>
        <source>Beim ersten Versuch richtig, nach Art der Aufgabe</source>
        <translation>Right at the first try, by kind of task</translation>
    </message>
    <message>
        <source>Beim ersten Versuch richtig, im ganzen Zeitraum</source>
        <translation>Right at the first try, over the whole period</translation>
    </message>
    <message>
        <source>Sekunden pro gelöster Aufgabe</source>
        <translation>Seconds per solved task</translation>
    </message>
    <message>
        <source>Insgesamt %1 Punkte und %2 gelöste Aufgaben in %3 Runden.</source>
        <translation>In all %1 points and %2 tasks solved in %3 rounds.</translation>
    </message>
    <message>
        <source>Im Durchschnitt %1 Sekunden pro Aufgabe.</source>
        <translation>On average %1 seconds per task.</translation>
    </message>
    <message>
        <source>Keine gelösten Aufgaben in diesem Zeitraum.</source>
        <translation>No tasks solved in this period.</translation>
    </message>
    <message>
        <source>angebrochene Woche (weniger als 7 Tage)</source>
        <translation>partial week (fewer than 7 days)</translation>
    </message>
</context>
<context>
    <name>numora::ProgressExport</name>
    <message>
        <source>E&amp;xportieren …</source>
        <translation>&amp;Export …</translation>
    </message>
    <message>
        <source>Exportieren</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Nur die Aufgaben von %1 exportieren?

„Ja“: nur von %1.
„Nein“: von allen %2 Kindern in einer Datei.</source>
        <translation>Export only the tasks of %1?

“Yes”: only %1’s.
“No”: all %2 children in one file.</translation>
    </message>
    <message>
        <source>alle Kinder</source>
        <translation>all children</translation>
    </message>
    <message>
        <source>CSV-Dateien (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Der Fortschritt steht jetzt in %1.</source>
        <translation>The progress has been saved in %1.</translation>
    </message>
</context>
<context>
    <name>numora::ProgressReport</name>
    <message>
        <source>1-mal falsch</source>
        <translation>wrong once</translation>
    </message>
    <message>
        <source>%1-mal falsch</source>
        <translation>wrong %1 times</translation>
    </message>
    <message>
        <source>Lernfortschritt von %1</source>
        <translation>Progress of %1</translation>
    </message>
    <message>
        <source>nach Wochen</source>
        <translation>by week</translation>
    </message>
    <message>
        <source>nach Tagen</source>
        <translation>by day</translation>
    </message>
    <message>
        <source>Zeitraum: %1 (%2), %3. Gedruckt am %4 mit Numora.</source>
        <translation>Period: %1 (%2), %3. Printed on %4 with Numora.</translation>
    </message>
    <message>
        <source>dd.MM.yyyy</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>Insgesamt: %1.</source>
        <translation>In all: %1.</translation>
    </message>
    <message>
        <source>Am häufigsten falsch: %1.</source>
        <translation>Most often wrong: %1.</translation>
    </message>
</context>
<context>
    <name>numora::ProgressReportCommands</name>
    <message>
        <source>&amp;Fortschritt …</source>
        <translation>&amp;Progress …</translation>
    </message>
    <message>
        <source>&amp;Drucken …</source>
        <translation>P&amp;rint …</translation>
    </message>
    <message>
        <source>Lernfortschritt von %1</source>
        <translation>Progress of %1</translation>
    </message>
    <message>
        <source>Fortschritt drucken</source>
        <translation>Print progress</translation>
    </message>
    <message>
        <source>Der Bericht konnte nicht gedruckt werden. Bitte prüfe den Drucker oder den Dateinamen.</source>
        <translation>The report could not be printed. Please check the printer or the file name.</translation>
    </message>
</context>
<context>
    <name>numora::ProgressSession</name>
    <message>
        <source>&amp;Fehler üben</source>
        <translation>&amp;Practise mistakes</translation>
    </message>
    <message>
        <source>Zurzeit gibt es keine falsch gelösten Aufgaben zum Üben.</source>
        <translation>There are no wrongly solved tasks to practise at the moment.</translation>
    </message>
</context>
<context>
    <name>numora::ProgressStats</name>
    <message>
        <source>die letzten 4 Wochen</source>
        <translation>the last 4 weeks</translation>
    </message>
    <message>
        <source>die letzten 3 Monate</source>
        <translation>the last 3 months</translation>
    </message>
    <message>
        <source>das letzte Jahr</source>
        <translation>the last year</translation>
    </message>
    <message>
        <source>alles seit der ersten Runde</source>
        <translation>everything since the first round</translation>
    </message>
    <message>
        <source>dd.MM.yyyy</source>
        <extracomment>The format of a date, as QDate::toString takes it.</extracomment>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>%1 bis %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>%1 %</source>
        <extracomment>A share in per cent; %1 is a whole number.</extracomment>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>,</source>
        <extracomment>The decimal separator in numbers such as &quot;7,4 Sekunden&quot;.</extracomment>
        <translation>.</translation>
    </message>
    <message>
        <source>1 Runde</source>
        <translation>1 round</translation>
    </message>
    <message>
        <source>%1 Runden</source>
        <translation>%1 rounds</translation>
    </message>
    <message>
        <source>1 gelöste Aufgabe</source>
        <translation>1 task solved</translation>
    </message>
    <message>
        <source>%1 gelöste Aufgaben</source>
        <translation>%1 tasks solved</translation>
    </message>
    <message>
        <source>1 Punkt</source>
        <translation>1 point</translation>
    </message>
    <message>
        <source>%1 Punkte</source>
        <translation>%1 points</translation>
    </message>
    <message>
        <source>1 Fehler</source>
        <translation>1 error</translation>
    </message>
    <message>
        <source>%1 Fehler</source>
        <translation>%1 errors</translation>
    </message>
    <message>
        <source>im Durchschnitt %1 Sekunden pro Aufgabe</source>
        <translation>on average %1 seconds per task</translation>
    </message>
    <message>
        <source>In diesem Zeitraum wurde nicht geübt.</source>
        <translation>There was no practice in this period.</translation>
    </message>
    <message>
        <source>Für einen Vergleich der Aufgabenarten gibt es in diesem Zeitraum noch zu wenige Aufgaben.</source>
        <translation>There are too few tasks in this period yet to compare the kinds of task.</translation>
    </message>
    <message>
        <source>Am schwersten fallen noch die Additionen: %1 davon waren beim ersten Versuch richtig.</source>
        <translation>Additions are still the hardest: %1 of them were right at the first try.</translation>
    </message>
    <message>
        <source>Am schwersten fallen noch die Subtraktionen: %1 davon waren beim ersten Versuch richtig.</source>
        <translation>Subtractions are still the hardest: %1 of them were right at the first try.</translation>
    </message>
    <message>
        <source>Am schwersten fallen noch die Multiplikationen: %1 davon waren beim ersten Versuch richtig.</source>
        <translation>Multiplications are still the hardest: %1 of them were right at the first try.</translation>
    </message>
    <message>
        <source>Am schwersten fallen noch die Divisionen: %1 davon waren beim ersten Versuch richtig.</source>
        <translation>Divisions are still the hardest: %1 of them were right at the first try.</translation>
    </message>
    <message>
        <source>Am schwersten fallen noch die gemischten Aufgaben: %1 davon waren beim ersten Versuch richtig.</source>
        <translation>Mixed tasks are still the hardest: %1 of them were right at the first try.</translation>
    </message>
</context>
<context>
    <name>numora::ProgressWindow</name>
    <message>
        <source>Numora - Fortschritt</source>
        <translation>Numora - Progress</translation>
    </message>
    <message>
        <source>Zeitraum</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>&amp;Zeitraum:</source>
        <translation>P&amp;eriod:</translation>
    </message>
    <message>
        <source>nach Tagen</source>
        <translation>by day</translation>
    </message>
    <message>
        <source>nach Wochen</source>
        <translation>by week</translation>
    </message>
    <message>
        <source>Einteilung</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>&amp;Einteilung:</source>
        <translation>&amp;Steps:</translation>
    </message>
    <message>
        <source>Am häufigsten falsch beantwortet:</source>
        <translation>Answered wrong most often:</translation>
    </message>
    <message>
        <source>Aufgabe</source>
        <translation>Task</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Wie oft falsch</source>
        <translation>How often wrong</translation>
    </message>
    <message>
        <source>Am häufigsten falsch beantwortete Aufgaben</source>
        <translation>Tasks answered wrong most often</translation>
    </message>
    <message>
        <source>&amp;Drucken …</source>
        <translation>&amp;Print …</translation>
    </message>
    <message>
        <source>&amp;Schließen</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Fortschritt von %1</source>
        <translation>Progress of %1</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
</context>
<context>
    <name>numora::SpokenTask</name>
    <message>
        <source>plus</source>
        <translation>plus</translation>
    </message>
    <message>
        <source>minus</source>
        <translation>minus</translation>
    </message>
    <message>
        <source>mal</source>
        <translation>times</translation>
    </message>
    <message>
        <source>geteilt durch</source>
        <translation>divided by</translation>
    </message>
    <message>
        <source>hoch</source>
        <translation>to the power of</translation>
    </message>
    <message>
        <source>Klammer auf</source>
        <translation>open bracket</translation>
    </message>
    <message>
        <source>Klammer zu</source>
        <translation>close bracket</translation>
    </message>
</context>
<context>
    <name>numora::StoreProblemText</name>
    <message>
        <source>Ein Erwachsener kann die Datei sichern und aus dem Ordner nehmen; dann legt Numora beim nächsten Start eine neue an.</source>
        <translation>An adult can back the file up and take it out of the folder; Numora then makes a new one at the next start.</translation>
    </message>
    <message>
        <source>Die Datei bleibt unverändert. Bitte installiere die neuere Numora-Version, die sie geschrieben hat.</source>
        <translation>The file stays as it is. Please install the newer Numora version that wrote it.</translation>
    </message>
    <message>
        <source>Mit der Datei selbst ist alles in Ordnung. Ein Erwachsener kann die Schreibrechte des Ordners prüfen.</source>
        <translation>The file itself is fine. An adult can check the folder&apos;s write permissions.</translation>
    </message>
    <message>
        <source>Ein Erwachsener kann auf dem Datenträger Platz schaffen.</source>
        <translation>An adult can free some space on the disk.</translation>
    </message>
    <message>
        <source>Ein anderes laufendes Numora hält die Datei gerade fest. Schließe es, wenn es nicht mehr gebraucht wird.</source>
        <translation>Another running Numora is holding the file. Close it when it is no longer needed.</translation>
    </message>
    <message>
        <source>Wenn das bleibt, kann ein Erwachsener Numora neu starten und die folgende Angabe weitergeben.</source>
        <translation>If this goes on, an adult can restart Numora and pass on the following detail.</translation>
    </message>
    <message>
        <source>(Angabe: %1)</source>
        <extracomment>The store&apos;s own words about a problem, for someone who can help.</extracomment>
        <translation>(detail: %1)</translation>
    </message>
    <message>
        <source>Die Datei mit dem Lernfortschritt (%1) ist beschädigt.</source>
        <translation>The progress file (%1) is damaged.</translation>
    </message>
    <message>
        <source>Die Datei mit dem Lernfortschritt (%1) stammt von einer neueren Numora-Version.</source>
        <translation>The progress file (%1) comes from a newer version of Numora.</translation>
    </message>
    <message>
        <source>Der Ordner %1 ist nicht beschreibbar.</source>
        <translation>The folder %1 is not writable.</translation>
    </message>
    <message>
        <source>Der Datenträger mit dem Lernfortschritt (%1) ist voll.</source>
        <translation>The disk with the progress file (%1) is full.</translation>
    </message>
    <message>
        <source>Die Datei mit dem Lernfortschritt (%1) wird gerade von einem anderen Numora benutzt.</source>
        <translation>The progress file (%1) is being used by another Numora right now.</translation>
    </message>
    <message>
        <source>Das Kind, für das gespeichert werden sollte, gibt es nicht mehr.</source>
        <translation>The child whose progress was to be saved no longer exists.</translation>
    </message>
    <message>
        <source>Die Datei mit dem Lernfortschritt (%1) kann gerade nicht benutzt werden.</source>
        <translation>The progress file (%1) cannot be used right now.</translation>
    </message>
    <message>
        <source>Die Datei mit dem Lernfortschritt war beschädigt. Sie wurde unverändert als %1 beiseitegelegt, und der Lernfortschritt wird ab jetzt in einer neuen Datei gespeichert. Du kannst weiter üben.</source>
        <translation>The progress file was damaged. It was put aside unchanged as %1, and progress is saved in a new file from now on. You can go on practising.</translation>
    </message>
    <message>
        <source>Ein anderes laufendes Numora benutzt sie noch, darum bleibt sie, wo sie ist. Du kannst weiter üben, aber bis Numora neu gestartet wird, wird nichts gespeichert. Schließe dafür zuerst das andere Numora.</source>
        <translation>Another running Numora still uses it, so it stays where it is. You can go on practising, but nothing is saved until Numora is started again. Close the other Numora first.</translation>
    </message>
    <message>
        <source>Du kannst weiter üben: Deine Antworten werden aufgehoben und gespeichert, sobald es wieder geht.</source>
        <translation>You can go on practising: your answers are kept and saved as soon as that works again.</translation>
    </message>
    <message>
        <source>Der Lernfortschritt wird wieder gespeichert.</source>
        <translation>Progress is being saved again.</translation>
    </message>
    <message>
        <source>Das Kind, das gerade übt, wurde in einem anderen Numora gelöscht.</source>
        <translation>The child practising was deleted in another Numora.</translation>
    </message>
    <message>
        <source>Was Numora zeigt, ist darum nicht vollständig.</source>
        <translation>So what Numora shows is not complete.</translation>
    </message>
    <message>
        <source>Du kannst weiter üben, aber heute wird nichts gespeichert.</source>
        <translation>You can go on practising, but nothing is saved today.</translation>
    </message>
    <message>
        <source>„%1“ wurde in einem anderen laufenden Numora gelöscht. Für „%1“ wird nichts mehr gespeichert; jetzt übt „%2“.</source>
        <translation>“%1” was deleted in another running Numora. Nothing more is saved for “%1”; “%2” is practising now.</translation>
    </message>
    <message>
        <source>Speichert nicht</source>
        <extracomment>Short: the main window&apos;s sign while nothing is saved.</extracomment>
        <translation>Not saving</translation>
    </message>
    <message>
        <source>Der Lernfortschritt wird gerade nicht gespeichert; die Antworten werden aufgehoben.</source>
        <translation>Progress is not being saved right now; the answers are kept.</translation>
    </message>
</context>
<context>
    <name>numora::TAufgabe</name>
    <message>
        <source>Rechenaufgabe; Eingabetaste öffnet das Eingabefeld</source>
        <translation>Arithmetic task; Enter opens the answer field</translation>
    </message>
</context>
<context>
    <name>numora::TCalcHelp</name>
    <message>
        <source>:/numora/help/help.rtf</source>
        <extracomment>The help document in this language, a resource of the program.</extracomment>
        <translation>:/numora/help/help_en.rtf</translation>
    </message>
    <message>
        <source>Numora - Help</source>
        <translation>Numora - Help</translation>
    </message>
    <message>
        <source>&amp;Schließen</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>numora::TEngineAbout</name>
    <message>
        <source>Info über TTermParser</source>
        <translation>About TTermParser</translation>
    </message>
    <message>
        <source>Der Term-Parser von Numora: Er zerlegt Rechenterme mit Zahlen, Variablen, Operatoren und Funktionen, übersetzt sie in ein kleines Programm und rechnet es mit 80-Bit-Genauigkeit aus.

Das Numora-Team</source>
        <translation>The term parser of Numora: it takes apart arithmetic terms with numbers, variables, operators and functions, translates them into a small program and computes it with 80-bit precision.

The Numora Team</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>numora::TForm1</name>
    <message>
        <source>&amp;Ansicht</source>
        <extracomment>The menu of the zoom levels.</extracomment>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Neu</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Be&amp;enden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Schwierigkeitsstufe</source>
        <translation>&amp;Difficulty</translation>
    </message>
    <message>
        <source>&amp;Verlauf</source>
        <translation>&amp;History</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Info über TTerm&amp;Parser</source>
        <translation>About TTerm&amp;Parser</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <extracomment>The menu item that shows the help document (F1).</extracomment>
        <translation>Help</translation>
    </message>
    <message>
        <source>Aufgaben</source>
        <translation>Tasks</translation>
    </message>
    <message>
        <source>Fortschritt der Runde</source>
        <translation>Progress of the round</translation>
    </message>
    <message>
        <source>Punkte:</source>
        <translation>Points:</translation>
    </message>
    <message>
        <source>Fehler:</source>
        <translation>Errors:</translation>
    </message>
    <message>
        <source>Sekunden:</source>
        <translation>Seconds:</translation>
    </message>
    <message>
        <source>Diese Runde:</source>
        <translation>This round:</translation>
    </message>
    <message>
        <source>Gesamt:</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>%1 von %2 Aufgaben gelöst</source>
        <translation>%1 of %2 tasks solved</translation>
    </message>
    <message>
        <source>1 Punkt</source>
        <translation>1 point</translation>
    </message>
    <message>
        <source>%1 Punkte</source>
        <translation>%1 points</translation>
    </message>
    <message>
        <source>1 Fehler</source>
        <translation>1 error</translation>
    </message>
    <message>
        <source>%1 Fehler</source>
        <translation>%1 errors</translation>
    </message>
    <message>
        <source>1 Sekunde</source>
        <translation>1 second</translation>
    </message>
    <message>
        <source>%1 Sekunden</source>
        <translation>%1 seconds</translation>
    </message>
    <message>
        <source>%1 %2, %3, %4</source>
        <extracomment>A status row read aloud: its heading, then points, errors, seconds.</extracomment>
        <translation>%1 %2, %3, %4</translation>
    </message>
    <message>
        <source>Bitte das Ergebnis eingeben:</source>
        <translation>Please enter the result:</translation>
    </message>
    <message>
        <source>Fehlerhafte Eingabe: %1</source>
        <translation>Invalid input: %1</translation>
    </message>
    <message>
        <source>Bravo, alle Aufgaben gelöst!<byte value="xd"/>
Als Belohnung gibt es %1 Sonderpunkte.</source>
        <translation>Well done, all tasks solved!<byte value="xd"/>
As a reward you get %1 bonus points.</translation>
    </message>
    <message>
        <source>%1. Runde: %2</source>
        <extracomment>The first status cell: the number of the round, then its level.</extracomment>
        <translation>Round %1: %2</translation>
    </message>
    <message>
        <source>leicht</source>
        <translation>easy</translation>
    </message>
    <message>
        <source>mittel</source>
        <translation>medium</translation>
    </message>
    <message>
        <source>schwer</source>
        <translation>hard</translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <extracomment>The main window&apos;s title: the program, then the child who practises.</extracomment>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>Es übt: %1</source>
        <extracomment>What a screen reader says of the main window: who practises.</extracomment>
        <translation>Practising: %1</translation>
    </message>
</context>
<context>
    <name>numora::TForm3</name>
    <message>
        <source>Numora - Verlauf</source>
        <translation>Numora - History</translation>
    </message>
    <message>
        <source>Verlauf der Runden</source>
        <translation>History of the rounds</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>numora::TSplashscreen</name>
    <message>
        <source>Numora ist ein Kopfrechen-Trainer von  %1</source>
        <extracomment>The start-up window&apos;s text; %1 is the author.</extracomment>
        <translation>Numora is a mental arithmetic trainer by  %1</translation>
    </message>
    <message>
        <source>Numora-Symbol</source>
        <translation>Numora icon</translation>
    </message>
    <message>
        <source>Bild: 1+2=3 auf bunten Kacheln</source>
        <translation>Picture: 1+2=3 on colourful tiles</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Link: schreibt eine E-Mail</source>
        <translation>Link: writes an e-mail</translation>
    </message>
    <message>
        <source>Link: öffnet die Webseite</source>
        <translation>Link: opens the web page</translation>
    </message>
    <message>
        <source>Das Numora-Team</source>
        <extracomment>The author, as the end of the start-up window&apos;s sentence.</extracomment>
        <translation>the Numora team</translation>
    </message>
</context>
<context>
    <name>numora::TaskKind</name>
    <message>
        <source>Additionen</source>
        <translation>Additions</translation>
    </message>
    <message>
        <source>Subtraktionen</source>
        <translation>Subtractions</translation>
    </message>
    <message>
        <source>Multiplikationen</source>
        <translation>Multiplications</translation>
    </message>
    <message>
        <source>Divisionen</source>
        <translation>Divisions</translation>
    </message>
    <message>
        <source>gemischte Aufgaben</source>
        <translation>mixed tasks</translation>
    </message>
</context>
</TS>
