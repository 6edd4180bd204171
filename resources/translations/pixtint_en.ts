<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja_JP">
<context>
    <name>BatchMessages</name>
    <message>
        <source>%1 は変換しませんでした。</source>
        <translation>%1 was not converted.</translation>
    </message>
    <message>
        <source>%1 はバックアップを作成できないため、変換しませんでした。</source>
        <translation>%1 was not converted: its backup could not be made.</translation>
    </message>
    <message>
        <source>%1 のバックアップ名は %2 と同じため、%1 は変換しませんでした。</source>
        <translation>%1 was not converted: its backup name is the same as that of %2.</translation>
    </message>
    <message>
        <source>%1 は変換しましたが、バックアップを作成できませんでした。変換前のファイルは %2 に残っています。</source>
        <translation>%1 was converted, but its backup could not be made. The file as it was before the conversion is kept in %2.</translation>
    </message>
    <message>
        <source>フォルダ %1 に書き込めません（%2）。</source>
        <translation>The folder %1 cannot be written (%2).</translation>
    </message>
    <message>
        <source>%1 のパレットには新しい行の色を入れる空きがないため、変換しませんでした。</source>
        <translation>%1 was not converted: its palette has no room for the new row&apos;s colour.</translation>
    </message>
    <message>
        <source>%1 はバックアップではないため、そのまま残しました。%2 は変換しませんでした。</source>
        <translation>%1 is not a backup and is kept. %2 was not converted.</translation>
    </message>
    <message>
        <source>このフォルダのファイルはこれ以上変換しません。</source>
        <translation>No more files of this folder are converted.</translation>
    </message>
</context>
<context>
    <name>ErrorMessages</name>
    <message>
        <source>プロシージャの呼び出し、または引数が不正です。</source>
        <translation>The call or one of its arguments is not valid.</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>A number is too large.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>There is not enough memory.</translation>
    </message>
    <message>
        <source>インデックスが有効範囲にありません。</source>
        <translation>An index is out of range.</translation>
    </message>
    <message>
        <source>0 で除算しました。</source>
        <translation>A division by zero.</translation>
    </message>
    <message>
        <source>型が一致しません。</source>
        <translation>A value is not of the expected type.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file cannot be found.</translation>
    </message>
    <message>
        <source>デバイス I/O エラーです。</source>
        <translation>A device input/output error.</translation>
    </message>
    <message>
        <source>既に同名のファイルが存在しています。</source>
        <translation>A file of the same name already exists.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が不足しています。</source>
        <translation>There is not enough free space on the disk.</translation>
    </message>
    <message>
        <source>ファイルにこれ以上データがありません。</source>
        <translation>The file holds no more data.</translation>
    </message>
    <message>
        <source>書き込みできません。</source>
        <translation>The file cannot be written.</translation>
    </message>
    <message>
        <source>パス名が無効です。</source>
        <translation>The path name is not valid.</translation>
    </message>
    <message>
        <source>パスが見つかりません。</source>
        <translation>The path cannot be found.</translation>
    </message>
    <message>
        <source>オブジェクト変数または With ブロック変数が設定されていません。</source>
        <translation>An object is not set.</translation>
    </message>
    <message>
        <source>プロパティの値が不正です。</source>
        <translation>A value is not valid.</translation>
    </message>
    <message>
        <source>ピクチャが不正です。</source>
        <translation>The picture is not valid.</translation>
    </message>
    <message>
        <source>アプリケーション定義またはオブジェクト定義のエラーです。</source>
        <translation>An error in the program.</translation>
    </message>
</context>
<context>
    <name>PreviewTexts</name>
    <message>
        <source>%1バイト</source>
        <translation>%1 bytes</translation>
    </message>
</context>
<context>
    <name>RefusalReasons</name>
    <message>
        <source>%1ビット画像は変換できません</source>
        <translation>%1-bit pictures cannot be converted</translation>
    </message>
    <message>
        <source>BMP に埋め込まれた %1 画像は変換できません</source>
        <translation>%1 pictures inside a BMP cannot be converted</translation>
    </message>
    <message>
        <source>%2 圧縮の%1ビット画像は変換できません</source>
        <translation>%1-bit pictures with %2 compression cannot be converted</translation>
    </message>
    <message>
        <source>%1 バイトのヘッダーは読めません</source>
        <translation>A %1-byte header cannot be read</translation>
    </message>
    <message>
        <source>色の並びが読めない32ビット画像は変換できません</source>
        <translation>32-bit pictures with unreadable colour masks cannot be converted</translation>
    </message>
    <message>
        <source>この種類の画像は変換できません</source>
        <translation>This kind of picture cannot be converted</translation>
    </message>
    <message>
        <source>BMP ファイルではありません</source>
        <translation>Not a BMP file</translation>
    </message>
    <message>
        <source>壊れた BMP ファイルです</source>
        <translation>Damaged BMP file</translation>
    </message>
    <message>
        <source>パレットに新しい行の色を入れる空きがありません</source>
        <translation>The palette has no room for the new row&apos;s colour</translation>
    </message>
    <message>
        <source>メモリが不足しています</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>ファイルを読めません</source>
        <translation>The file cannot be read</translation>
    </message>
    <message>
        <source>変換できませんでした</source>
        <translation>The conversion failed</translation>
    </message>
</context>
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
    <message>
        <source>%1 は元に戻せませんでした。</source>
        <translation>%1 could not be restored.</translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルは、その .bak がバックアップではないため、元に戻しませんでした。</source>
        <translation>
            <numerusform>%n file was not restored: its .bak is not a backup.</numerusform>
            <numerusform>%n files were not restored: their .bak is not a backup.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 は元に戻しましたが、ディスクに書き込まれていない可能性があります。</source>
        <translation>%1 was put back, but it may not yet be written to disk.</translation>
    </message>
    <message>
        <source>復元エラー</source>
        <translation>Restore error</translation>
    </message>
    <message>
        <source>フォルダ %1 に書き込めません（%2）。</source>
        <translation>The folder %1 cannot be written (%2).</translation>
    </message>
</context>
<context>
    <name>pixtint::BatchController</name>
    <message>
        <source>変換を中止しました。</source>
        <translation>Conversion stopped.</translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルを変換しました。</source>
        <translation>
            <numerusform>%n file was converted.</numerusform>
            <numerusform>%n files were converted.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルは処理されませんでした。</source>
        <translation>
            <numerusform>%n file was not reached.</numerusform>
            <numerusform>%n files were not reached.</numerusform>
        </translation>
    </message>
    <message>
        <source>BMPエラー</source>
        <translation>BMP error</translation>
    </message>
    <message>
        <source>変換エラー</source>
        <translation>Conversion error</translation>
    </message>
    <message>
        <source>変換終了！</source>
        <translation>Conversion finished!</translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルは変える色がないため、そのままです。</source>
        <translation>
            <numerusform>%n file had no colour to change and was left as it was.</numerusform>
            <numerusform>%n files had no colour to change and were left as they were.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルは変換できない種類のため、そのままです。</source>
        <translation>
            <numerusform>%n file is of a kind that is not converted and was left as it was.</numerusform>
            <numerusform>%n files are of a kind that is not converted and were left as they were.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルは変換できませんでした。</source>
        <translation>
            <numerusform>%n file could not be converted.</numerusform>
            <numerusform>%n files could not be converted.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pixtint::ButtonColourDialog</name>
    <message>
        <source>Windowsのボタン色から指定</source>
        <translation>Choose a Windows button colour</translation>
    </message>
    <message>
        <source>設 定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>現在のボタン色</source>
        <translation>Current button colour</translation>
    </message>
</context>
<context>
    <name>pixtint::ColourPanel</name>
    <message>
        <source>色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>変換前色：</source>
        <translation>Before:</translation>
    </message>
    <message>
        <source>変換後色：</source>
        <translation>After:</translation>
    </message>
    <message>
        <source>変換前色</source>
        <translation>Before colour</translation>
    </message>
    <message>
        <source>変換後色</source>
        <translation>After colour</translation>
    </message>
    <message>
        <source>変換前色を色選択ダイアログから指定</source>
        <translation>Choose the before colour in the colour dialog</translation>
    </message>
    <message>
        <source>変換前色を画像から抽出</source>
        <translation>Pick the before colour from the picture</translation>
    </message>
    <message>
        <source>変換前色をWindowsのボタン色から指定</source>
        <translation>Choose the before colour from the Windows button colours</translation>
    </message>
    <message>
        <source>変換後色を色選択ダイアログから指定</source>
        <translation>Choose the after colour in the colour dialog</translation>
    </message>
    <message>
        <source>変換後色を画像から抽出</source>
        <translation>Pick the after colour from the picture</translation>
    </message>
    <message>
        <source>変換後色をWindowsのボタン色から指定</source>
        <translation>Choose the after colour from the Windows button colours</translation>
    </message>
</context>
<context>
    <name>pixtint::CommandRow</name>
    <message>
        <source>変換前のファイルを *.bak として保存する</source>
        <translation>Keep the originals as *.bak</translation>
    </message>
    <message>
        <source>Readme.txtを閲覧</source>
        <translation>Read the user guide (Readme)</translation>
    </message>
    <message>
        <source>変換実行</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>終 了</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>pixtint::FilePanel</name>
    <message>
        <source>ファイル</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>■bmpファイルが保存されているフォルダ</source>
        <translation>■Folder of the BMP files</translation>
    </message>
    <message>
        <source>参 照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>更 新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>ファイル総数＝</source>
        <translation>Total files: </translation>
    </message>
    <message>
        <source>フォルダを選択してください</source>
        <translation>Please choose a folder</translation>
    </message>
    <message>
        <source>変換可</source>
        <translation>Convertible</translation>
    </message>
    <message>
        <source>変換不可</source>
        <translation>Not convertible</translation>
    </message>
    <message>
        <source>■ファイル一覧：</source>
        <translation>■Files:</translation>
    </message>
    <message>
        <source>バックアップから元に戻す</source>
        <translation>Restore from backup</translation>
    </message>
    <message>
        <source>すべて選択</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>すべて解除</source>
        <translation>Select none</translation>
    </message>
</context>
<context>
    <name>pixtint::MainWindow</name>
    <message>
        <source>変換するファイルがありません！</source>
        <translation>There are no files to convert!</translation>
    </message>
    <message>
        <source>変換</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>元に戻すファイルがありません！</source>
        <translation>There are no files to restore!</translation>
    </message>
</context>
<context>
    <name>pixtint::PreviewArea</name>
    <message>
        <source>変換前画像</source>
        <translation>Picture before the conversion</translation>
    </message>
    <message>
        <source>変換後画像</source>
        <translation>Picture after the conversion</translation>
    </message>
    <message>
        <source>右クリックでキャンセル</source>
        <translation>Right-click to cancel</translation>
    </message>
</context>
<context>
    <name>pixtint::PreviewPresenter</name>
    <message>
        <source>変換エラー</source>
        <translation>Conversion error</translation>
    </message>
    <message>
        <source>BMPエラー</source>
        <translation>BMP error</translation>
    </message>
</context>
<context>
    <name>pixtint::SessionSettings</name>
    <message>
        <source>ガイドが見つかりません。探した場所：</source>
        <translation>The guide was not found. Places looked at:</translation>
    </message>
    <message>
        <source>環境設定エラー</source>
        <translation>Settings error</translation>
    </message>
    <message>
        <source>%1 を開けませんでした。</source>
        <translation>%1 could not be opened.</translation>
    </message>
</context>
<context>
    <name>pixtint::SizeOptionsPanel</name>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>16×16サイズに変更</source>
        <translation>Make it 16×16</translation>
    </message>
    <message>
        <source>上段に挿入</source>
        <translation>Insert at top</translation>
    </message>
    <message>
        <source>下段に挿入</source>
        <translation>Insert at bottom</translation>
    </message>
</context>
<context>
    <name>pixtint::StatusBar</name>
    <message>
        <source>大きさ（幅×高さ）</source>
        <translation>Size (width × height)</translation>
    </message>
    <message>
        <source>ファイルサイズ</source>
        <translation>File size</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
</context>
<context>
    <name>pixtint::WindowLayout</name>
    <message>
        <source>これ以上幅を小さくできません！</source>
        <translation>The window cannot be made any narrower!</translation>
    </message>
    <message>
        <source>これ以上高さを小さくできません！</source>
        <translation>The window cannot be made any shorter!</translation>
    </message>
</context>
</TS>
