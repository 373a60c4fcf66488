<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>bildwort::TForm1</name>
    <message>
        <source>Wortliste</source>
        <translation>Word list</translation>
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
        <source>&amp;Beenden</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Sprache</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;Deutsch</source>
        <translation>&amp;German</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>Wörter &amp;vorlesen</source>
        <translation>&amp;Read words aloud</translation>
    </message>
    <message>
        <source>&amp;Gewähltes Wort vorlesen</source>
        <translation>Read the &amp;chosen word aloud</translation>
    </message>
    <message>
        <source>Bi&amp;lder</source>
        <translation>&amp;Pictures</translation>
    </message>
    <message>
        <source>%1 Bilder</source>
        <translation>%1 pictures</translation>
    </message>
    <message>
        <source>&amp;Ansicht</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Die Bildbibliothek „%1“ wurde nicht gefunden oder lässt sich nicht laden. Ohne sie gibt es keine Bilder und Wörter.

Gesucht wurde in diesen Ordnern:
%2und in den Bibliotheksordnern des Systems.

Bitte installieren Sie Bildwort neu (Paket „zelv“).</source>
        <translation>The picture library “%1” was not found or cannot be loaded. Without it there are no pictures and words.

These folders were searched:
%2and the system's library folders.

Please reinstall Bildwort (package “zelv”).</translation>
    </message>
    <message>
        <source>Die Bildbibliothek enthält keine Wortliste.</source>
        <translation>The picture library holds no word list.</translation>
    </message>
    <message>
        <source>Die Wortliste der Bildbibliothek ist leer.</source>
        <translation>The picture library's word list is empty.</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Bild in Reihe %1, Spalte %2</source>
        <translation>Picture in row %1, column %2</translation>
    </message>
    <message>
        <source>noch offen; die Eingabetaste öffnet die Wortliste</source>
        <translation>not solved yet; Enter opens the word list</translation>
    </message>
    <message>
        <source>noch 1 Bild</source>
        <translation>1 picture left</translation>
    </message>
    <message>
        <source>noch %1 Bilder</source>
        <translation>%1 pictures left</translation>
    </message>
    <message>
        <source>Richtig: %1! ★</source>
        <translation>Right: %1! ★</translation>
    </message>
    <message>
        <source>„%1“ passt nicht. Versuch ein anderes Wort.</source>
        <translation>“%1” does not fit. Try another word.</translation>
    </message>
    <message>
        <source>gelöst</source>
        <translation>solved</translation>
    </message>
    <message>
        <source>Bravo!</source>
        <translation>Well done!</translation>
    </message>
    <message>
        <source>Bravo! Du hast alles geschafft!<byte value="xd"/>
Willst Du noch einmal spielen ?</source>
        <translation>Well done! You have matched them all!<byte value="xd"/>
Do you want to play again?</translation>
    </message>
</context>
</TS>
