<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>reda::FilterBar</name>
    <message>
        <source>Filter:</source>
        <translation>筛选：</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>筛选</translation>
    </message>
    <message>
        <source>lines that match</source>
        <translation>匹配的行</translation>
    </message>
    <message>
        <source>Hi&amp;de matching</source>
        <translation>隐藏匹配行(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Regular expression</source>
        <translation>正则表达式(&amp;R)</translation>
    </message>
    <message>
        <source>Line kinds</source>
        <translation>行类型</translation>
    </message>
    <message>
        <source>All lines</source>
        <translation>所有行</translation>
    </message>
    <message>
        <source>Errors</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Errors and warnings</source>
        <translation>错误和警告</translation>
    </message>
    <message>
        <source>&amp;Stack</source>
        <translation>叠加(&amp;S)</translation>
    </message>
    <message>
        <source>Keep this filter and type another one that applies as well</source>
        <translation>保留此筛选条件，并输入另一个同时生效的条件</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>清除(&amp;L)</translation>
    </message>
    <message>
        <source>Close the filtered view (Esc)</source>
        <translation>关闭筛选视图 (Esc)</translation>
    </message>
    <message>
        <source>Close the filtered view</source>
        <translation>关闭筛选视图</translation>
    </message>
    <message>
        <source>not “%1”</source>
        <translation>不含“%1”</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source> and </source>
        <translation> 且 </translation>
    </message>
</context>
<context>
    <name>reda::FindBar</name>
    <message>
        <source>Find:</source>
        <translation>查找：</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Find the previous match (Shift+F3, Shift+Enter)</source>
        <translation>查找上一个匹配项 (Shift+F3, Shift+Enter)</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Find the next match (F3, Enter)</source>
        <translation>查找下一个匹配项 (F3, Enter)</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>区分大小写(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Whole words</source>
        <translation>全字匹配(&amp;W)</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>正则表达式(&amp;X)</translation>
    </message>
    <message>
        <source>RE2 syntax; whole words do not apply, write \b</source>
        <translation>RE2 语法；全字匹配不适用，请写 \b</translation>
    </message>
    <message>
        <source>Close the search bar (Esc)</source>
        <translation>关闭查找栏 (Esc)</translation>
    </message>
</context>
<context>
    <name>reda::LogView</name>
    <message numerus="yes">
        <source>… %n more bytes</source>
        <translation>
            <numerusform>… 还有 %n 字节</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>reda::MainWindow</name>
    <message>
        <source>Filtered lines</source>
        <translation>筛选出的行</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>%1 — REDA</source>
        <translation>%1 — REDA</translation>
    </message>
    <message>
        <source>Waiting for the log to appear…</source>
        <translation>正在等待日志出现…</translation>
    </message>
    <message>
        <source>standard input — REDA</source>
        <translation>标准输入 — REDA</translation>
    </message>
    <message>
        <source>A compressed log: shown unpacked, not followed.</source>
        <translation>压缩的日志：已解压显示，不跟踪更新。</translation>
    </message>
    <message>
        <source>The log was truncated or replaced; reloaded from the start.</source>
        <translation>日志已被截断或替换；已从头重新载入。</translation>
    </message>
    <message>
        <source>The log was removed; waiting for it to appear again…</source>
        <translation>日志已被删除；正在等待它再次出现…</translation>
    </message>
    <message>
        <source>Cannot read the log: %1</source>
        <translation>无法读取日志：%1</translation>
    </message>
    <message>
        <source>Lines: %1</source>
        <translation>行数：%1</translation>
    </message>
    <message>
        <source>Lines: …</source>
        <translation>行数：…</translation>
    </message>
    <message>
        <source>Counting lines… %1%</source>
        <translation>正在统计行数… %1%</translation>
    </message>
    <message>
        <source>Errors: %1</source>
        <translation>错误：%1</translation>
    </message>
    <message>
        <source>Warnings: %1</source>
        <translation>警告：%1</translation>
    </message>
    <message>
        <source>Following</source>
        <translation>跟踪中</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>No source folder for these logs.</source>
        <translation>这些日志没有源代码文件夹。</translation>
    </message>
    <message>
        <source>Links are also looked for in %1.</source>
        <translation>也会在 %1 中查找链接。</translation>
    </message>
    <message>
        <source>Settings not saved: %1</source>
        <translation>设置未保存：%1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>打开(&amp;O)…</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>最近打开(&amp;R)</translation>
    </message>
    <message>
        <source>Re&amp;load</source>
        <translation>重新载入(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Save Selection As…</source>
        <translation>选中内容另存为(&amp;S)…</translation>
    </message>
    <message>
        <source>&amp;Close Log</source>
        <translation>关闭日志(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>全选(&amp;A)</translation>
    </message>
    <message>
        <source>Copy With Colour C&amp;odes</source>
        <translation>连同颜色代码复制(&amp;O)</translation>
    </message>
    <message>
        <source>Copy and Save Selection keep the colour sequences of the log</source>
        <translation>复制和选中内容另存为时保留日志中的颜色控制序列</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>查找(&amp;F)…</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>查找下一个(&amp;N)</translation>
    </message>
    <message>
        <source>Find &amp;Previous</source>
        <translation>查找上一个(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Go to Line…</source>
        <translation>转到行(&amp;G)…</translation>
    </message>
    <message>
        <source>&amp;Highlight Words…</source>
        <translation>高亮关键词(&amp;H)…</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>查看(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Next Error or Warning</source>
        <translation>下一个错误或警告(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Previous Error or Warning</source>
        <translation>上一个错误或警告(&amp;P)</translation>
    </message>
    <message>
        <source>Next E&amp;rror</source>
        <translation>下一个错误(&amp;R)</translation>
    </message>
    <message>
        <source>Previous Err&amp;or</source>
        <translation>上一个错误(&amp;O)</translation>
    </message>
    <message>
        <source>Toggle &amp;Bookmark</source>
        <translation>切换书签(&amp;B)</translation>
    </message>
    <message>
        <source>Next Boo&amp;kmark</source>
        <translation>下一个书签(&amp;K)</translation>
    </message>
    <message>
        <source>Previous Bookm&amp;ark</source>
        <translation>上一个书签(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Open the Location in the Editor</source>
        <translation>在编辑器中打开该位置(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Source Folder…</source>
        <translation>源代码文件夹(&amp;S)…</translation>
    </message>
    <message>
        <source>&amp;Filter…</source>
        <translation>筛选(&amp;F)…</translation>
    </message>
    <message>
        <source>Filter &amp;Errors</source>
        <translation>筛选错误(&amp;E)</translation>
    </message>
    <message>
        <source>Filter &amp;Warnings</source>
        <translation>筛选警告(&amp;W)</translation>
    </message>
    <message>
        <source>Filter Errors &amp;and Warnings</source>
        <translation>筛选错误和警告(&amp;M)</translation>
    </message>
    <message>
        <source>E&amp;ncoding</source>
        <translation>编码(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;UTF-8</source>
        <translation>&amp;UTF-8</translation>
    </message>
    <message>
        <source>&amp;Windows-1252</source>
        <translation>&amp;Windows-1252</translation>
    </message>
    <message>
        <source>&amp;Local Code Page (UTF-8)</source>
        <translation>本地代码页 (UTF-8)(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Local Code Page</source>
        <translation>本地代码页(&amp;L)</translation>
    </message>
    <message>
        <source>The local code page takes more than one byte a character</source>
        <translation>本地代码页的一个字符占多个字节</translation>
    </message>
    <message>
        <source>Wra&amp;p Long Lines</source>
        <translation>长行自动换行(&amp;L)</translation>
    </message>
    <message>
        <source>Go to &amp;Top</source>
        <translation>转到开头(&amp;T)</translation>
    </message>
    <message>
        <source>Go to &amp;End and Follow</source>
        <translation>转到末尾并跟踪(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;About REDA</source>
        <translation>关于 REDA(&amp;A)</translation>
    </message>
    <message>
        <source>About REDA</source>
        <translation>关于 REDA</translation>
    </message>
    <message>
        <source>&lt;b&gt;REDA&lt;/b&gt; %1&lt;br&gt;The log viewer of Kestrune: it follows a log while the tools write it and finds errors and warnings.</source>
        <translation>&lt;b&gt;REDA&lt;/b&gt; %1&lt;br&gt;Kestrune 的日志查看器：在工具写入日志的同时跟踪显示，并找出其中的错误和警告。</translation>
    </message>
    <message>
        <source>(no recent logs)</source>
        <translation>(没有最近打开的日志)</translation>
    </message>
    <message>
        <source>The selection is too large for the clipboard; save it with Save Selection As.</source>
        <translation>选中的内容太大，无法放入剪贴板；请用“选中内容另存为”保存。</translation>
    </message>
    <message>
        <source>Open Log</source>
        <translation>打开日志</translation>
    </message>
    <message>
        <source>Logs (*.log *.log.gz *.gz);;All files (*)</source>
        <translation>日志 (*.log *.log.gz *.gz);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Save Selection As</source>
        <translation>选中内容另存为</translation>
    </message>
    <message>
        <source>Logs (*.log);;All files (*)</source>
        <translation>日志 (*.log);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>转到行</translation>
    </message>
    <message>
        <source>Line (1 to %1):</source>
        <translation>行号 (1 到 %1)：</translation>
    </message>
    <message>
        <source>Open a log first: the source folder is kept for the log&apos;s folder.</source>
        <translation>请先打开一个日志：源代码文件夹是按日志所在的文件夹保存的。</translation>
    </message>
    <message>
        <source>Source Folder for the Logs in %1</source>
        <translation>%1 中日志的源代码文件夹</translation>
    </message>
    <message>
        <source>Invalid expression: %1</source>
        <translation>无效的表达式：%1</translation>
    </message>
    <message numerus="yes">
        <source>%n lines</source>
        <translation>
            <numerusform>%n 行</numerusform>
        </translation>
    </message>
    <message>
        <source>No bookmarks; Ctrl+F2 sets one on the current line.</source>
        <translation>没有书签；按 Ctrl+F2 在当前行设置书签。</translation>
    </message>
    <message>
        <source>Still counting the lines of the log; try again in a moment.</source>
        <translation>仍在统计日志的行数；请稍后再试。</translation>
    </message>
    <message>
        <source>Searching… %1%</source>
        <translation>正在查找… %1%</translation>
    </message>
    <message>
        <source>Search stopped</source>
        <translation>查找已停止</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>Continued from the top</source>
        <translation>已从开头继续查找</translation>
    </message>
    <message>
        <source>Continued from the bottom</source>
        <translation>已从末尾继续查找</translation>
    </message>
    <message>
        <source>No further errors.</source>
        <translation>后面没有错误了。</translation>
    </message>
    <message>
        <source>No earlier errors.</source>
        <translation>前面没有错误了。</translation>
    </message>
    <message>
        <source>No further errors or warnings.</source>
        <translation>后面没有错误或警告了。</translation>
    </message>
    <message>
        <source>No earlier errors or warnings.</source>
        <translation>前面没有错误或警告了。</translation>
    </message>
    <message>
        <source>This line names no file location.</source>
        <translation>这一行没有指明文件位置。</translation>
    </message>
    <message>
        <source>The file %1 is not there.</source>
        <translation>文件 %1 不存在。</translation>
    </message>
    <message>
        <source>Opened %1 at line %2.</source>
        <translation>已在第 %2 行打开 %1。</translation>
    </message>
    <message>
        <source>The editor could not be started: %1</source>
        <translation>无法启动编辑器：%1</translation>
    </message>
</context>
<context>
    <name>reda::WordsDialog</name>
    <message>
        <source>Highlight Words</source>
        <translation>高亮关键词</translation>
    </message>
    <message>
        <source>Errors and warnings are found by the form real tools write them in. Add your own here.</source>
        <translation>错误和警告按真实工具输出它们的格式识别。可在此添加您自己的关键词。</translation>
    </message>
    <message>
        <source>&amp;Error words:</source>
        <translation>错误关键词(&amp;E)：</translation>
    </message>
    <message>
        <source>&amp;Warning words:</source>
        <translation>警告关键词(&amp;W)：</translation>
    </message>
    <message>
        <source>Error &amp;patterns:</source>
        <translation>错误模式(&amp;P)：</translation>
    </message>
    <message>
        <source>Warning pa&amp;tterns:</source>
        <translation>警告模式(&amp;T)：</translation>
    </message>
    <message>
        <source>Separate words with commas. They match whole words, in any letter case. Patterns are regular expressions, one a line.</source>
        <translation>关键词之间用逗号分隔，按全字匹配，不区分大小写。模式是正则表达式，每行一个。</translation>
    </message>
    <message>
        <source>The pattern “%1” does not compile: %2</source>
        <translation>模式“%1”无法编译：%2</translation>
    </message>
</context>
</TS>
