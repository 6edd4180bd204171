<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja_JP">
<context>
    <name>RestoreFromBackup</name>
    <message numerus="yes">
        <source>%n 個のファイルを元に戻しました。</source>
        <translation>
            <numerusform>%n file was restored.</numerusform>
            <numerusform>%n files were restored.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルにはバックアップがありませんでした。</source>
        <translation>
            <numerusform>%n file had no backup.</numerusform>
            <numerusform>%n files had no backup.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルは元に戻せませんでした。</source>
        <translation>
            <numerusform>%n file could not be restored.</numerusform>
            <numerusform>%n files could not be restored.</numerusform>
        </translation>
    </message>
</context>
</TS>
