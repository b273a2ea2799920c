<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CBaseDialogClass</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCalculateWidget</name>
    <message>
        <source>Level1(best)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture Quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommand Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAbout</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> v3.0.0.3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAboutClass</name>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NORDA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNORDAMainWnd</name>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not find Manual.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sure to close software</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNORDAMainWndClass</name>
    <message>
        <source>CNORDAMainWnd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CVexaApplication</name>
    <message>
        <source>Software is already running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The least resolution is 1024*768.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWindowTitle</name>
    <message>
        <source>Calculate Disk</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
