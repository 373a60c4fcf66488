<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>zelv::UserDialogs</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Suchen in:</source>
        <translation>Look in:</translation>
    </message>
    <message>
        <source>&amp;Dateiname:</source>
        <translation>File &amp;name:</translation>
    </message>
    <message>
        <source>Dateityp:</source>
        <translation>Files of type:</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
</context>
<context>
    <name>zelv::ZoomControl</name>
    <message>
        <source>%1 %</source>
        <extracomment>A zoom level of the windows, e.g. &quot;150 %&quot;.</extracomment>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Ver&amp;größern</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>Ver&amp;kleinern</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>&amp;Originalgröße</source>
        <translation>&amp;Actual Size</translation>
    </message>
</context>
</TS>
