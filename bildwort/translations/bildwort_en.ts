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
%2and the system&apos;s library folders.

Please reinstall Bildwort (package “zelv”).</translation>
    </message>
    <message>
        <source>Die Bildbibliothek enthält keine Wortliste.</source>
        <translation>The picture library holds no word list.</translation>
    </message>
    <message>
        <source>Die Wortliste der Bildbibliothek ist leer.</source>
        <translation>The picture library&apos;s word list is empty.</translation>
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
    <message>
        <source>Keines der %1 Bilder der Bildbibliothek lässt sich lesen.</source>
        <translation>None of the %1 pictures of the picture library can be read.</translation>
    </message>
    <message>
        <source>1 Bild ausgelassen (nicht lesbar)</source>
        <translation>1 picture left out (unreadable)</translation>
    </message>
    <message>
        <source>%1 Bilder ausgelassen (nicht lesbar)</source>
        <translation>%1 pictures left out (unreadable)</translation>
    </message>
    <message>
        <source>Die Datei ist leer.</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>Die Datei ist keine Programmbibliothek.</source>
        <translation>The file is not a program library.</translation>
    </message>
    <message>
        <source>Die Datei ist eine Programmbibliothek für eine andere Art von Computer.</source>
        <translation>The file is a program library for another kind of computer.</translation>
    </message>
    <message>
        <source>Die Datei ist unvollständig: Sie hat %1 Bytes, ihr Inhaltsverzeichnis verlangt mindestens %2 Bytes.</source>
        <translation>The file is incomplete: it has %1 bytes, its table of contents needs at least %2 bytes.</translation>
    </message>
    <message>
        <source>Das Inhaltsverzeichnis der Datei widerspricht sich selbst.</source>
        <translation>The file&apos;s table of contents contradicts itself.</translation>
    </message>
    <message>
        <source>Die Datei lässt sich nicht lesen.</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <source>Beim Probeladen in einem eigenen Prozess ist dieser abgestürzt.</source>
        <translation>A trial load in a process of its own crashed that process.</translation>
    </message>
    <message>
        <source>Das System lädt sie nicht: %1</source>
        <translation>The system does not load it: %1</translation>
    </message>
    <message>
        <source>Das Probeladen in einem eigenen Prozess war nach %1 Sekunden nicht fertig.</source>
        <translation>A trial load in a process of its own had not finished after %1 seconds.</translation>
    </message>
    <message>
        <source>Die Bildbibliothek „%1“ ist beschädigt und wird nicht geladen.

%2

Bitte installieren Sie Bildwort neu (Paket „zelv“).</source>
        <translation>The picture library “%1” is damaged and is not loaded.

%2

Please reinstall Bildwort (package “zelv”).</translation>
    </message>
    <message>
        <source>de</source>
        <comment>the word language at the first start: de (German words) or en (English words)</comment>
        <translation>en</translation>
    </message>
    <message>
        <source>Getippt: %1</source>
        <translation>Typed: %1</translation>
    </message>
    <message>
        <source>Getippt: %1, kein Wort fängt so an</source>
        <translation>Typed: %1, no word begins like this</translation>
    </message>
    <message>
        <source>Alle Bilder geschafft!
Ein neues Spiel beginnt mit „Datei → Neu“ oder mit F6.</source>
        <translation>All pictures done!
A new game starts with “File → New” or with F6.</translation>
    </message>
</context>
<context>
    <name>zelvpics</name>
    <message>
        <source>Info</source>
        <translation>About</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Bildwort 2&lt;/b&gt; &amp;ndash; Bilder und Wörter&lt;/p&gt;&lt;p&gt;Die Bildbibliothek &lt;b&gt;zelvpics&lt;/b&gt; 1.0 enthält 120 Bilder von Tieren, Essen, Spielsachen, Fahrzeugen, Dingen im Haus und aus der Natur, jeweils mit dem deutschen und dem englischen Wort.&lt;/p&gt;&lt;p&gt;Die Bilder sind aus der Schrift Noto Color Emoji gezeichnet (SIL Open Font License 1.1).&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Bildwort 2&lt;/b&gt; &amp;ndash; pictures and words&lt;/p&gt;&lt;p&gt;The picture library &lt;b&gt;zelvpics&lt;/b&gt; 1.0 holds 120 pictures of animals, food, toys, vehicles, things at home and in nature, each with its German and its English word.&lt;/p&gt;&lt;p&gt;The pictures are drawn from the Noto Color Emoji font (SIL Open Font License 1.1).&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>&lt;h3&gt;So spielst du Bildwort&lt;/h3&gt;&lt;ol&gt;&lt;li&gt;Klicke auf ein Bild, oder gehe mit den Pfeiltasten zu einem Bild und drücke die Eingabetaste.&lt;/li&gt;&lt;li&gt;Dort öffnet sich eine Liste mit Wörtern.&lt;/li&gt;&lt;li&gt;Wähle das Wort, das zum Bild passt: mit der Maus, oder mit den Pfeiltasten oder den ersten Buchstaben und dann mit der Eingabetaste. Escape schließt die Liste.&lt;/li&gt;&lt;/ol&gt;&lt;p&gt;Ist das Wort richtig, verschwinden das Bild und das Wort. Ist es falsch, bleibt alles, wie es ist, und du kannst es gleich noch einmal versuchen. Unten steht, wie viele Bilder noch übrig sind.&lt;/p&gt;&lt;p&gt;Im Menü &lt;b&gt;Sprache&lt;/b&gt; wählst du, ob die Wörter auf Deutsch oder auf Englisch kommen, und mit &lt;b&gt;Wörter vorlesen&lt;/b&gt; (Strg+L) werden richtige Wörter vorgelesen; F5 liest das gewählte Wort vor. Im Menü &lt;b&gt;Bilder&lt;/b&gt; wählst du, wie viele Bilder ein Spiel hat, im Menü &lt;b&gt;Ansicht&lt;/b&gt;, wie groß alles ist. Mit &lt;b&gt;Datei &amp;gt; Neu&lt;/b&gt; beginnt ein neues Spiel.&lt;/p&gt;&lt;p&gt;Viel Spaß!&lt;/p&gt;</source>
        <translation>&lt;h3&gt;How to play Bildwort&lt;/h3&gt;&lt;ol&gt;&lt;li&gt;Click a picture, or go to a picture with the arrow keys and press Enter.&lt;/li&gt;&lt;li&gt;A list of words opens there.&lt;/li&gt;&lt;li&gt;Choose the word that fits the picture: with the mouse, or with the arrow keys or its first letters and then Enter. Escape closes the list.&lt;/li&gt;&lt;/ol&gt;&lt;p&gt;If the word is right, the picture and the word disappear. If it is wrong, everything stays as it is, and you can try again straight away. At the bottom you see how many pictures are left.&lt;/p&gt;&lt;p&gt;In the &lt;b&gt;Language&lt;/b&gt; menu you choose whether the words come in German or in English, and with &lt;b&gt;Read words aloud&lt;/b&gt; (Ctrl+L) right words are read aloud; F5 reads the chosen word. In the &lt;b&gt;Pictures&lt;/b&gt; menu you choose how many pictures a game has, in the &lt;b&gt;View&lt;/b&gt; menu how big everything is. &lt;b&gt;File &amp;gt; New&lt;/b&gt; starts a new game.&lt;/p&gt;&lt;p&gt;Have fun!&lt;/p&gt;</translation>
    </message>
</context>
</TS>
