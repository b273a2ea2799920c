<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AddressRange</name>
    <message>
        <source>&quot;%1&quot; is not an IPv4 network such as 10.0.5.0/24.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IPv4 range such as 192.168.1.10-200.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The range &quot;%1&quot; ends before it starts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IPv4 address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the addresses to search, for example 192.168.1.10-200 or 10.0.5.0/24.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds addresses no device can have.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At most %1 addresses can be searched at once.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a port from 1 to 65535.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter 1 to %1 ports, such as 80, 8000, 8080.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAddByAddress</name>
    <message>
        <source>Add by Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Username:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the device&apos;s IPv4 address, such as 192.168.1.64.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name cannot be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password cannot be empty.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAddDeviceWidget</name>
    <message>
        <source>CAddDeviceWidget</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Number:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prefix:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DeviceType:   </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FrameRate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BitRate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommand:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add&gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 1(best)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera number cannot be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera number should be less than 1024.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate should be between 32 and 16384.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAddressSearchDialog</name>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Addresses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Addresses beyond the local network: ranges, networks or lists, at most %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Addresses:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ports:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 addresses, %3 found</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n device(s) found</source>
        <translation>
            <numerusform>%n device found</numerusform>
            <numerusform>%n devices found</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CBaseDialog</name>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not find Manual.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <message>
        <source>Warn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device number can be more than 1024.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not find channels.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk space should less than 76056153GBs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk space should more than 2GBs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record time per day should be more than 0 hours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total bitrate should be more than 0.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please input time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record time should less than 365 days.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Time should between 0 and 24hours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record time per day should be a whole number of hours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The inputs changed since this result: press &quot;Calculate&quot; again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole numbers only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure bitrate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The day and night measurements of the group &quot;%1&quot; tell a night factor of %2 % (now %3 %). Take it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCalculateWidgetClass</name>
    <message>
        <source>CalculateWidget</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel Config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk Space:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Time Per day:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate Disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera List:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Online Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fromat:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NTSC</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCopyInfo</name>
    <message>
        <source>CCopyInfo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose which Camera to copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select destiny channel.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDeviceImporter</name>
    <message>
        <source>_IPCamera</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDeviceSurvey</name>
    <message>
        <source>Some Channels Not Support Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some Channels Can not get compress info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Support Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not get compress info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Succeed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDiskArray</name>
    <message>
        <source>%1 recorders of %2 bays, each with %3 disks of %4 TB in %5, keep every group&apos;s days.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 disk of %1 TB in %2 keeps every group&apos;s days.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 disks of %2 TB in %3 keep every group&apos;s days.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plus 1 hot spare in each.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plus 1 hot spare.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plus %1 hot spares in each.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plus %1 hot spares.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A recorder has 1 to %1 bays.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the size of one disk, above 0 and at most %1 TB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The array needs at least 1 disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hot spares do not fit in %2 bays.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disks and hot spares need %1 bays (%2 + %3); the recorder has %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JBOD keeps no second copy, so a hot spare has nothing to rebuild.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs at least %2 disks; the array has %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RAID 10 needs an even number of disks; the array has %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs groups of at least %2 disks.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 disks do not make whole groups of %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs at least 2 groups of %2 disks, %3 disks.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file-system reserve is 0 to %1 %.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The fill limit is 0 to %1 %.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the disk&apos;s workload rating, above 0 TB/year.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the rebuild rate, above 0 MB/s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorder 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 x %2 TB %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(groups of %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>spares: %1</source>
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
    <name>CHourChart</name>
    <message>
        <source>Continuous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Night</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click an hour to change it</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CImportClientWidget</name>
    <message>
        <source>Database Path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add&gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log in failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read from Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*.db</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database path can not be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not recognize database file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list holds at most %1 devices; the rest of the database was not read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the database took too long and was stopped; the devices read so far are listed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading... devices found: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLogin</name>
    <message>
        <source>Username:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name cannot be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password cannot be empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accept the device&apos;s new certificate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMeasureDialog</name>
    <message>
        <source>Measure Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Codec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Peak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>95 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Frames</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measured At</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommended</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average bitrate, kbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Largest one-second window, kbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>95th percentile of the one-second windows, kbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds between key frames</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configured bitrate, kbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommended bitrate, kbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration (s):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take the measured average as:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average share of the bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Measured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No login for its device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device login failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No stream address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measuring %p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 measured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measuring...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMeasuredRate</name>
    <message>
        <source>Stream did not start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stream stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No video in the stream</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong user name or password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CModDevice</name>
    <message>
        <source>CModDevice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DeviceType:   </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FrameRate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BitRate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommand:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
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
    <message>
        <source>Mod Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 1(best)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate should be between 32 and 16384.</source>
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
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sure to close software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not keep the language choice.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new language takes effect at the next start.</source>
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
    <message>
        <source>Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlanController</name>
    <message>
        <source>New Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Plan...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Plan As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Report...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Untitled plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent Plans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to the plan?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NORDA plans (*.norda)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not open the plan %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not save the plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Plan As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF report (*.pdf);;CSV table (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not export the report.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report was saved to &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlanFile</name>
    <message>
        <source>%1 is missing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be a text, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is longer than %2 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be a whole number from %2 to %3, not %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is %2, which is not one of: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be an object, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be empty, 0 or a whole number of at most %2 digits without leading zeros, not %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is %2, above the largest value %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be a frame rate from 0 to %2 (such as &quot;1/2&quot; or &quot;25&quot;), not %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; to &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not a NORDA plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plan&apos;s format version %1 is not valid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plan was saved by a newer NORDA (plan format %1); this version opens plan format %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be a list of cameras, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plan holds %1 cameras; the first %2 were opened, the others left out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera names must differ; %1 cameras with a name used before were renamed: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is %1 MB large; a NORDA plan is never larger than %2 MB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is cut short: it ends before the plan does.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not a NORDA plan: it is not JSON text (%1 at byte %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plan could not be saved to &quot;%1&quot; (%2). A file of that name that existed before is unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder, not a plan file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a plan file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is %2 MB large; a NORDA plan is never larger than %3 MB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must give both width and height, or neither.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be a list of groups, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plan holds %1 recording groups; at most %2 are possible.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording group %1: the name &quot;%2&quot; is used twice.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording group %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a name of 1 to %2 characters, not %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, followsCalculateDisk must be true or false, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, hours must be 24 letters C, E or -, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, recorder must be the name of a recorder, up to %2 characters, not %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a whole number from %1 to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a number from %1 to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 must be %3, not %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, raid is %2, which is not one of: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be a list of recorders, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plan holds %1 recorders; at most %2 are possible.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorder %1: the name &quot;%2&quot; is used twice.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlanReport</name>
    <message>
        <source>Untitled plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the plan has no cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the disk size is above 76056153 GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the disk size is below 2 GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no record time is given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the record time is above 365 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the hours per day are not a usable number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the bitrates of the cameras add up to 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Type</source>
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
        <source>Picture Quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate (kbit/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage per day (GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video standard: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record time per day: %1 hours (Calculate Time), %2 hours (Calculate Disk)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total bitrate: %1 kbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage per day: %1 GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate Time: %1 GB at %2 hours a day last %3 days = %4 weeks = %5 months.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate Time: not calculated, %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate Disk: %1 days at %2 hours a day need %3 GB = %4 TB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate Disk: not calculated, %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report could not be saved to &quot;%1&quot; (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Codec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average share (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage for retention (GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Mbit/s, %2 GB per day, %3 TB = %4 TiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording group: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records as Calculate Disk: %1 hours a day, kept %2 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kept %1 days, %2 hours of full bitrate a day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All recording groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overhead %1 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measured cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: measured %2 for %3 s, average %4 kbit/s, peak %5 kbit/s, 95th percentile %6 kbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Array: %1 in %2 bays</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The array is refused: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usable: %1 TB = %2 TiB of %3 TB raw; recorded up to %4 TB (%5 % kept free)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Needed: %1 TB for the groups&apos; days with %2 % overhead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group %1: requires %2 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group %1: requires %2 days, achieves %3 days, kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group %1: requires %2 days, achieves %3 days, missed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write load: %1 TB a year per disk, rated %2 TB a year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ingress: %1 Mbit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verdict: not calculated, the array is refused.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verdict: %1 miss their days. Recorders overwrite the oldest video first when the array is full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verdict: every group keeps its days, but the disks write more than their rating.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verdict: every group keeps its days.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Array</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usable (TB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usable (TiB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write load (TB/year per disk)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Workload rating (TB/year)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Required (days)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achieved (days)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>missed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Devices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 %3, firmware %4, serial number %5</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecorderBox</name>
    <message>
        <source>Recorder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Recorder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Recorder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Array</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usable (TB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usable (TiB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Needed (TB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Per Disk (TB/year)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ingress (Mbit/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rebuild (h)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retention</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taken by the file system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kept free: the recorder overwrites when the rest is full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk&apos;s workload rating a year (surveillance disks: 180 TB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RAID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bays:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disks:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hot spares:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reserve:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rating a year:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill limit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rebuild rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every group kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorders delete a group&apos;s video after its days to keep and, when the array is full, overwrite the oldest video first: the groups keeping the most days fall short first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A full array overwrites the oldest video first: the groups keeping the most days fall short first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keeps %1 of %2 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 days to keep</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CStoragePage</name>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording Groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate (Mbit/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Per Day (GB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Days Kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage (TB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage (TiB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera Name</source>
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
        <source>Codec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate (kbit/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average Share (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommended (kbit/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records as Calculate Disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hours per day and days of the &quot;Calculate Disk&quot; tab</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share of an event hour that is recorded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate at night against the day: infrared pictures shrink, noisy ones grow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event activity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Night:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Night bitrate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Days to keep:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommendation against H.264:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added to the storage for file system, indexes and margin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overhead:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hours of full bitrate a day, %2 GB a day, %3 TB for %4 days with %5 % overhead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure bitrate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorders and Disks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recorder this group records on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorder:</source>
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
    <name>CVigilWidget</name>
    <message>
        <source>Select devices by click, and add it to device list by push button &quot;Add Device&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login Deivce</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add&gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vigil</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Serial No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LogState</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Devices: %1 and %2 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search addresses...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add by address...</source>
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
<context>
    <name>DeviceFailure</name>
    <message>
        <source>The device is not reachable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device did not answer in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device refused the user name or password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is not an ONVIF device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device&apos;s answer could not be used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device moved to another address. Log in to confirm the move.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device&apos;s certificate has changed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceIdentity</name>
    <message>
        <source>Maker: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial number: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
