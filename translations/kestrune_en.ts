<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>frmMain</name>
    <message>
        <source>文件</source>
        <comment>cmdFileMenu</comment>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新设置</source>
        <comment>cmdNewPreset</comment>
        <translation>&amp;New Preset</translation>
    </message>
    <message>
        <source>New Specification from Program...</source>
        <comment>cmdNewFromProgram</comment>
        <translation>New Specification from Pro&amp;gram…</translation>
    </message>
    <message>
        <source>打开设置</source>
        <comment>cmdOpenPreset</comment>
        <translation>&amp;Open Preset…</translation>
    </message>
    <message>
        <source>导入设置</source>
        <comment>cmdImportPreset</comment>
        <translation>&amp;Import Preset…</translation>
    </message>
    <message>
        <source>Reload Specification</source>
        <comment>cmdReloadSpecification</comment>
        <translation>Re&amp;load Specification</translation>
    </message>
    <message>
        <source>使用过的设置</source>
        <comment>cmdRecentPresets</comment>
        <translation>Recent &amp;Presets</translation>
    </message>
    <message>
        <source>保存设置</source>
        <comment>cmdSavePreset</comment>
        <translation>&amp;Save Preset</translation>
    </message>
    <message>
        <source>保存设置为...</source>
        <comment>cmdSavePresetAs</comment>
        <translation>Save Preset &amp;As…</translation>
    </message>
    <message>
        <source>打开文件</source>
        <comment>cmdOpenFile</comment>
        <translation>Open Input &amp;File…</translation>
    </message>
    <message>
        <source>使用过的文件</source>
        <comment>cmdRecentFiles</comment>
        <translation>Recent Input Fil&amp;es</translation>
    </message>
    <message>
        <source>载入阅读器</source>
        <comment>cmdLaunchREDA</comment>
        <translation>Launch &amp;REDA</translation>
    </message>
    <message>
        <source>View Untitled.log</source>
        <comment>cmdLaunchREDAWith</comment>
        <translation>View Untitled.log</translation>
    </message>
    <message>
        <source>最小化至托盘</source>
        <comment>cmdSendToTray</comment>
        <translation>&amp;Minimize to Tray</translation>
    </message>
    <message>
        <source>退出</source>
        <comment>cmdExit</comment>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>编译</source>
        <comment>cmdCompileMenu</comment>
        <translation>&amp;Compile</translation>
    </message>
    <message>
        <source>编译地图</source>
        <comment>cmdRunBatchFile</comment>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <comment>cmdStopRun</comment>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>储存为.bat文件</source>
        <comment>cmdSaveBatchAs</comment>
        <translation>Save Script &amp;As…</translation>
    </message>
    <message>
        <source>&amp;Presets</source>
        <comment>cmdPresetsMenu</comment>
        <translation>&amp;Presets</translation>
    </message>
    <message>
        <source>编译项目</source>
        <comment>cmdSpecificationsMenu</comment>
        <translation>&amp;Specifications</translation>
    </message>
    <message>
        <source>设置</source>
        <comment>cmdOptionsMenu</comment>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>设置</source>
        <comment>cmdSetup</comment>
        <translation>&amp;Options…</translation>
    </message>
    <message>
        <source>编译后载入.log文件</source>
        <comment>cmdViewLogAfterCompile</comment>
        <translation>&amp;View Log After Run</translation>
    </message>
    <message>
        <source>编译时关闭程序</source>
        <comment>cmdCloseProgramOnRun</comment>
        <translation>&amp;Close Kestrune on Run</translation>
    </message>
    <message>
        <source>清除空内容</source>
        <comment>cmdClearEmptyFields</comment>
        <translation>Clear &amp;Empty Fields</translation>
    </message>
    <message>
        <source>显示细节</source>
        <comment>cmdShowDetails</comment>
        <translation>Show &amp;Details</translation>
    </message>
    <message>
        <source>Script &amp;Preview</source>
        <comment>cmdShowScriptPreview</comment>
        <translation>Script &amp;Preview</translation>
    </message>
    <message>
        <source>&amp;Links</source>
        <comment>cmdLinks</comment>
        <translation>&amp;Links</translation>
    </message>
    <message>
        <source>帮助</source>
        <comment>cmdHelpMenu</comment>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>在线帮助</source>
        <comment>cmdOnlineHelp</comment>
        <translation>Online &amp;Help</translation>
    </message>
    <message>
        <source>Specification Language</source>
        <comment>cmdSpecificationHelp</comment>
        <translation>&amp;Specification Language</translation>
    </message>
    <message>
        <source>关于</source>
        <comment>cmdAboutKestrune</comment>
        <translation>&amp;About Kestrune</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <comment>cmdTabReset</comment>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>&amp;Clear Empty Fields</source>
        <comment>cmdTabClearEmptyFields</comment>
        <translation>&amp;Clear Empty Fields</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <comment>cmdStagesClear</comment>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <comment>cmdTrayRestore</comment>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>&amp;Compile</source>
        <comment>cmdTrayCompile</comment>
        <translation>&amp;Compile</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <comment>cmdTrayRun</comment>
        <translation>R&amp;un</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <comment>cmdTrayStop</comment>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Launch &amp;REDA</source>
        <comment>cmdTrayLaunchREDA</comment>
        <translation>Launch RE&amp;DA</translation>
    </message>
    <message>
        <source>&amp;View Untitled.log</source>
        <comment>cmdTrayLaunchREDAWith</comment>
        <translation>&amp;View Untitled.log</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <comment>cmdTrayExit</comment>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>步骤:</source>
        <comment>lblStages</comment>
        <translation>Stages:</translation>
    </message>
    <message>
        <source>Remember File</source>
        <comment>chkRememberFile</comment>
        <translation>Remember File</translation>
    </message>
    <message>
        <source>...</source>
        <comment>cmdBrowse</comment>
        <translation>...</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <comment>cmdCompile</comment>
        <translation>&amp;Run</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>General</source>
        <comment>tabGeneral</comment>
        <translation>General</translation>
    </message>
    <message>
        <source>Paths</source>
        <comment>tabPaths</comment>
        <translation>Paths</translation>
    </message>
    <message>
        <source>Presets</source>
        <comment>tabPresets</comment>
        <translation>Presets</translation>
    </message>
    <message>
        <source>Transparency:</source>
        <comment>lblTrancparency</comment>
        <translation>Transparency:</translation>
    </message>
    <message>
        <source>Solid</source>
        <comment>lblSolid</comment>
        <translation>Solid</translation>
    </message>
    <message>
        <source>Transparent</source>
        <comment>lblTransparent</comment>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Recent Files:</source>
        <comment>lblRecentFiles</comment>
        <translation>Recent Files:</translation>
    </message>
    <message>
        <source>4</source>
        <comment>txtRecentFiles</comment>
        <translation>4</translation>
    </message>
    <message>
        <source>Associate With:</source>
        <comment>lblAssociateWith</comment>
        <translation>Associate With:</translation>
    </message>
    <message>
        <source>.ZRP Files</source>
        <comment>cmdZRPFiles</comment>
        <translation>.ZRP Files</translation>
    </message>
    <message>
        <source>Language:</source>
        <comment>lblDisplayLanguage</comment>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Tool Path:</source>
        <comment>lblBrowseTool</comment>
        <translation>Tool Path:</translation>
    </message>
    <message>
        <source>...</source>
        <comment>cmdBrowseTool</comment>
        <translation>...</translation>
    </message>
    <message>
        <source>Base Path:</source>
        <comment>lblBrowseGame</comment>
        <translation>Base Path:</translation>
    </message>
    <message>
        <source>...</source>
        <comment>cmdBrowseBase</comment>
        <translation>...</translation>
    </message>
    <message>
        <source>File Destination Path:</source>
        <comment>lblBrowseMap</comment>
        <translation>File Destination Path:</translation>
    </message>
    <message>
        <source>...</source>
        <comment>cmdBrowseFile</comment>
        <translation>...</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <comment>cmdAddPreset</comment>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <comment>cmdRemovePreset</comment>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <comment>cmdOK</comment>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <comment>cmdCancel</comment>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Kestrune</source>
        <comment>lblProgram</comment>
        <translation>Kestrune</translation>
    </message>
    <message>
        <source>Version:</source>
        <comment>lblVersion</comment>
        <translation>Version:</translation>
    </message>
    <message>
        <source>For Linux</source>
        <comment>lblPlatform</comment>
        <translation>For Linux</translation>
    </message>
    <message>
        <source>For Windows</source>
        <comment>lblPlatform</comment>
        <translation>For Windows</translation>
    </message>
    <message>
        <source>Written in C++ with Qt</source>
        <comment>lblLanguage</comment>
        <translation>Written in C++ with Qt</translation>
    </message>
    <message>
        <source>By the Kestrune developers</source>
        <comment>lblAuthor</comment>
        <translation>By the Kestrune developers</translation>
    </message>
    <message>
        <source>Specification File:</source>
        <comment>grpSpecificationFile</comment>
        <translation>Specification File:</translation>
    </message>
    <message>
        <source>Name:</source>
        <comment>lblSpecName</comment>
        <translation>Name:</translation>
    </message>
    <message>
        <source>For:</source>
        <comment>lblSpecProgram</comment>
        <translation>For:</translation>
    </message>
    <message>
        <source>By:</source>
        <comment>lblSpecAuthor</comment>
        <translation>By:</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>cmdOK</comment>
        <translation>OK</translation>
    </message>
</context>
</TS>
