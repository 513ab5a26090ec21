<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="zh_CN">
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;New	Ctrl+N</source>
        <translation>新建(&amp;N)	Ctrl+N</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <translation>新建数据
新建</translation>
    </message>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>打开(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <translation>打开数据文件
打开</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>Close the active document
Close</source>
        <translation>关闭当前数据
关闭</translation>
    </message>
    <message>
        <source>&amp;Save	Ctrl+S</source>
        <translation>保存(&amp;S)	Ctrl+S</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <translation>保存当前数据
保存</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation>以新文件名保存当前数据
另存为</translation>
    </message>
    <message>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>打印(&amp;P)...	Ctrl+P</translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <translation>打印当前数据
打印</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <translation>显示整页
打印预览</translation>
    </message>
    <message>
        <source>Print Setup...</source>
        <translation>打印设置...</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <translation>更改打印机及打印选项
打印设置</translation>
    </message>
    <message>
        <source>Print Direct</source>
        <translation>直接打印</translation>
    </message>
    <message>
        <source>Print the active document without asking
Print Direct</source>
        <translation>不经询问直接打印当前数据
直接打印</translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation>导出 PDF...</translation>
    </message>
    <message>
        <source>Save the report of the active document as a PDF file
Export PDF</source>
        <translation>将当前数据的报表保存为 PDF 文件
导出 PDF</translation>
    </message>
    <message>
        <source>Import Channels...</source>
        <translation>导入信道...</translation>
    </message>
    <message>
        <source>Replace the channels with a CSV channel list
Import Channels</source>
        <translation>用 CSV 信道列表替换信道
导入信道</translation>
    </message>
    <message>
        <source>Export Channels...</source>
        <translation>导出信道...</translation>
    </message>
    <message>
        <source>Save the channels as a CSV channel list
Export Channels</source>
        <translation>将信道保存为 CSV 信道列表
导出信道</translation>
    </message>
    <message>
        <source>Compare with Radio</source>
        <translation>与对讲机比较</translation>
    </message>
    <message>
        <source>Read the radio and list how it differs from the document
Compare</source>
        <translation>读取对讲机并列出与当前文件的不同之处
比较</translation>
    </message>
    <message>
        <source>Program Fleet...</source>
        <translation>批量写频...</translation>
    </message>
    <message>
        <source>Write the document to many radios, each with its own values
Program Fleet</source>
        <translation>将当前文件写入多台对讲机，每台使用各自的值
批量写频</translation>
    </message>
    <message>
        <source>&amp;Exit	Ctrl+Q</source>
        <translation>退出(&amp;X)	Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit the application
Exit</source>
        <translation>退出程序
退出</translation>
    </message>
    <message>
        <source>Channel Information</source>
        <translation>信道信息</translation>
    </message>
    <message>
        <source>Show the channel table
Channel Information</source>
        <translation>显示信道表
信道信息</translation>
    </message>
    <message>
        <source>Optional Features</source>
        <translation>可选功能</translation>
    </message>
    <message>
        <source>Edit the optional features
Optional Features</source>
        <translation>编辑可选功能
可选功能</translation>
    </message>
    <message>
        <source>DTMF</source>
        <translation>DTMF</translation>
    </message>
    <message>
        <source>Edit the DTMF codes
DTMF</source>
        <translation>编辑DTMF编码
DTMF</translation>
    </message>
    <message>
        <source>MSK</source>
        <translation>MSK呼叫列表</translation>
    </message>
    <message>
        <source>Edit the MSK ID and call list
MSK</source>
        <translation>编辑MSK识别码与呼叫列表
MSK呼叫列表</translation>
    </message>
    <message>
        <source>2-Tone</source>
        <translation>两音</translation>
    </message>
    <message>
        <source>Edit the 2-Tone encode and decode
2-Tone</source>
        <translation>编辑两音编码与解码
两音</translation>
    </message>
    <message>
        <source>Key Assignment</source>
        <translation>按键定义</translation>
    </message>
    <message>
        <source>Assign the side key
Key Assignment</source>
        <translation>定义侧键功能
按键定义</translation>
    </message>
    <message>
        <source>Param Adjust</source>
        <translation>参数调节</translation>
    </message>
    <message>
        <source>Adjust the radio parameters
Param Adjust</source>
        <translation>调整对讲机参数
参数调整</translation>
    </message>
    <message>
        <source>Software Info</source>
        <translation>软件信息</translation>
    </message>
    <message>
        <source>Edit the model and frequency ranges
Software Info</source>
        <translation>编辑机型与频率范围
软件信息</translation>
    </message>
    <message>
        <source>Sql Tuning</source>
        <translation>静噪微调</translation>
    </message>
    <message>
        <source>Tune the squelch levels
Sql Tuning</source>
        <translation>调整静噪等级
静噪调整</translation>
    </message>
    <message>
        <source>Stun</source>
        <translation>遥晕</translation>
    </message>
    <message>
        <source>Stun and kill codes
Stun</source>
        <translation>遥晕与遥毙编码
遥晕</translation>
    </message>
    <message>
        <source>&amp;Read    Ctrl+R</source>
        <translation>读频(&amp;R)    Ctrl+R</translation>
    </message>
    <message>
        <source>Read Data From Radio
Read</source>
        <translation>从对讲机读取数据
读频</translation>
    </message>
    <message>
        <source>&amp;Write   Ctrl+W</source>
        <translation>写频(&amp;W)   Ctrl+W</translation>
    </message>
    <message>
        <source>Write Data To Radio
Write</source>
        <translation>向对讲机写入数据
写频</translation>
    </message>
    <message>
        <source>Com Setup</source>
        <translation>串口设置</translation>
    </message>
    <message>
        <source>Choose the serial port
Com Setup</source>
        <translation>选择串口
串口设置</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Choose the language
Language</source>
        <translation>选择界面语言
语言</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>工具栏(&amp;T)</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <translation>显示或隐藏工具栏
工具栏</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>状态栏(&amp;S)</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>显示或隐藏状态栏
状态栏</translation>
    </message>
    <message>
        <source>Control &amp;Bar   Ctrl+B</source>
        <translation>控制栏(&amp;B)   Ctrl+B</translation>
    </message>
    <message>
        <source>Show or hide the navigation bar
Control Bar</source>
        <translation>显示或隐藏导航栏
控制栏</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>帮助主题(&amp;H)</translation>
    </message>
    <message>
        <source>List Help topics
Help Topics</source>
        <translation>列出帮助主题
帮助主题</translation>
    </message>
    <message>
        <source>&amp;About ...</source>
        <translation>关于(&amp;A)...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>显示程序信息、版本号和版权
关于</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Program</source>
        <translation>编程(&amp;P)</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>查看(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>大写</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>数字</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>滚动</translation>
    </message>
    <message>
        <source>Verify after writing</source>
        <translation>写频后校验</translation>
    </message>
    <message>
        <source>Read back every block written to the radio and compare</source>
        <translation>写频后读回每个写入的数据块并比较</translation>
    </message>
    <message>
        <source>Data File (*.dat)</source>
        <translation>数据文件 (*.dat)</translation>
    </message>
</context>
<context>
    <name>NavigationBar</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>All data will be Cleared!</source>
        <translation>所有数据将被清除！</translation>
    </message>
</context>
<context>
    <name>PortReason</name>
    <message>
        <source>You may not open %1. Add your user to the dialout group (sudo usermod -aG dialout $USER), then log in again.</source>
        <translation>无权打开 %1。请把您的用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。</translation>
    </message>
    <message>
        <source>%1 is in use by another program.</source>
        <translation>%1 正被其他程序使用。</translation>
    </message>
    <message>
        <source>%1 is not present: is the cable plugged in?</source>
        <translation>%1 不存在：编程线是否已插好？</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>驱动器</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
</context>
</TS>
