<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US">
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;New	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <translation>Create a new document
New</translation>
    </message>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <translation>Open an existing document
Open</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Close the active document
Close</source>
        <translation>Close the active document
Close</translation>
    </message>
    <message>
        <source>&amp;Save	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <translation>Save the active document
Save</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation>Save the active document with a new name
Save As</translation>
    </message>
    <message>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>&amp;Print...	Ctrl+P</translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <translation>Print the active document
Print</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <translation>Display full pages
Print Preview</translation>
    </message>
    <message>
        <source>Print Setup...</source>
        <translation>Print Setup...</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <translation>Change the printer and printing options
Print Setup</translation>
    </message>
    <message>
        <source>Print Direct</source>
        <translation>Print Direct</translation>
    </message>
    <message>
        <source>Print the active document without asking
Print Direct</source>
        <translation>Print the active document without asking
Print Direct</translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation>Export PDF...</translation>
    </message>
    <message>
        <source>Save the report of the active document as a PDF file
Export PDF</source>
        <translation>Save the report of the active document as a PDF file
Export PDF</translation>
    </message>
    <message>
        <source>Import Channels...</source>
        <translation>Import Channels...</translation>
    </message>
    <message>
        <source>Replace the channels with a CSV channel list
Import Channels</source>
        <translation>Replace the channels with a CSV channel list
Import Channels</translation>
    </message>
    <message>
        <source>Export Channels...</source>
        <translation>Export Channels...</translation>
    </message>
    <message>
        <source>Save the channels as a CSV channel list
Export Channels</source>
        <translation>Save the channels as a CSV channel list
Export Channels</translation>
    </message>
    <message>
        <source>Compare with Radio</source>
        <translation>Compare with Radio</translation>
    </message>
    <message>
        <source>Read the radio and list how it differs from the document
Compare</source>
        <translation>Read the radio and list how it differs from the document
Compare</translation>
    </message>
    <message>
        <source>Program Fleet...</source>
        <translation>Program Fleet...</translation>
    </message>
    <message>
        <source>Write the document to many radios, each with its own values
Program Fleet</source>
        <translation>Write the document to many radios, each with its own values
Program Fleet</translation>
    </message>
    <message>
        <source>&amp;Exit	Ctrl+Q</source>
        <translation>&amp;Exit	Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit the application
Exit</source>
        <translation>Quit the application
Exit</translation>
    </message>
    <message>
        <source>Channel Information</source>
        <translation>Channel Information</translation>
    </message>
    <message>
        <source>Show the channel table
Channel Information</source>
        <translation>Show the channel table
Channel Information</translation>
    </message>
    <message>
        <source>Optional Features</source>
        <translation>Optional Features</translation>
    </message>
    <message>
        <source>Edit the optional features
Optional Features</source>
        <translation>Edit the optional features
Optional Features</translation>
    </message>
    <message>
        <source>DTMF</source>
        <translation>DTMF</translation>
    </message>
    <message>
        <source>Edit the DTMF codes
DTMF</source>
        <translation>Edit the DTMF codes
DTMF</translation>
    </message>
    <message>
        <source>MSK</source>
        <translation>MSK</translation>
    </message>
    <message>
        <source>Edit the MSK ID and call list
MSK</source>
        <translation>Edit the MSK ID and call list
MSK</translation>
    </message>
    <message>
        <source>2-Tone</source>
        <translation>2-Tone</translation>
    </message>
    <message>
        <source>Edit the 2-Tone encode and decode
2-Tone</source>
        <translation>Edit the 2-Tone encode and decode
2-Tone</translation>
    </message>
    <message>
        <source>Key Assignment</source>
        <translation>Key Assignment</translation>
    </message>
    <message>
        <source>Assign the side key
Key Assignment</source>
        <translation>Assign the side key
Key Assignment</translation>
    </message>
    <message>
        <source>Param Adjust</source>
        <translation>Param Adjust</translation>
    </message>
    <message>
        <source>Adjust the radio parameters
Param Adjust</source>
        <translation>Adjust the radio parameters
Param Adjust</translation>
    </message>
    <message>
        <source>Software Info</source>
        <translation>Software Info</translation>
    </message>
    <message>
        <source>Edit the model and frequency ranges
Software Info</source>
        <translation>Edit the model and frequency ranges
Software Info</translation>
    </message>
    <message>
        <source>Sql Tuning</source>
        <translation>Sql Tuning</translation>
    </message>
    <message>
        <source>Tune the squelch levels
Sql Tuning</source>
        <translation>Tune the squelch levels
Sql Tuning</translation>
    </message>
    <message>
        <source>Stun</source>
        <translation>Stun</translation>
    </message>
    <message>
        <source>Stun and kill codes
Stun</source>
        <translation>Stun and kill codes
Stun</translation>
    </message>
    <message>
        <source>&amp;Read    Ctrl+R</source>
        <translation>&amp;Read    Ctrl+R</translation>
    </message>
    <message>
        <source>Read Data From Radio
Read</source>
        <translation>Read Data From Radio
Read</translation>
    </message>
    <message>
        <source>&amp;Write   Ctrl+W</source>
        <translation>&amp;Write   Ctrl+W</translation>
    </message>
    <message>
        <source>Write Data To Radio
Write</source>
        <translation>Write Data To Radio
Write</translation>
    </message>
    <message>
        <source>Com Setup</source>
        <translation>Com Setup</translation>
    </message>
    <message>
        <source>Choose the serial port
Com Setup</source>
        <translation>Choose the serial port
Com Setup</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Choose the language
Language</source>
        <translation>Choose the language
Language</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <translation>Show or hide the toolbar
Toggle ToolBar</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>Show or hide the status bar
Toggle StatusBar</translation>
    </message>
    <message>
        <source>Control &amp;Bar   Ctrl+B</source>
        <translation>Control &amp;Bar   Ctrl+B</translation>
    </message>
    <message>
        <source>Show or hide the navigation bar
Control Bar</source>
        <translation>Show or hide the navigation bar
Control Bar</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Help Topics</translation>
    </message>
    <message>
        <source>List Help topics
Help Topics</source>
        <translation>List Help topics
Help Topics</translation>
    </message>
    <message>
        <source>&amp;About ...</source>
        <translation>&amp;About ...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>Display program information, version number and copyright
About</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Program</source>
        <translation>&amp;Program</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>Verify after writing</source>
        <translation>Verify after writing</translation>
    </message>
    <message>
        <source>Read back every block written to the radio and compare</source>
        <translation>Read back every block written to the radio and compare</translation>
    </message>
    <message>
        <source>Data File (*.dat)</source>
        <translation>Data File (*.dat)</translation>
    </message>
</context>
<context>
    <name>NavigationBar</name>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>All data will be Cleared!</source>
        <translation>All data will be Cleared!</translation>
    </message>
</context>
<context>
    <name>PortReason</name>
    <message>
        <source>You may not open %1. Add your user to the dialout group (sudo usermod -aG dialout $USER), then log in again.</source>
        <translation>You may not open %1. Add your user to the dialout group (sudo usermod -aG dialout $USER), then log in again.</translation>
    </message>
    <message>
        <source>%1 is in use by another program.</source>
        <translation>%1 is in use by another program.</translation>
    </message>
    <message>
        <source>%1 is not present: is the cable plugged in?</source>
        <translation>%1 is not present: is the cable plugged in?</translation>
    </message>
</context>
</TS>