<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>MainViewModel</name>
    <message>
        <source>button_start_game</source>
        <translation>Spiel starten</translation>
    </message>
</context>
</TS>
