#include "platform/FolderDrop.h"

#include "platform/FilePaths.h"
#include "tests/support/TestFolder.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

std::optional<QString> dropOf(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    return droppedFolder(data);
}

QUrl local(const fs::path& path) {
    return QUrl::fromLocalFile(displayPath(path));
}

TEST(DroppedFolder, AFolderItselfOrTheFolderOfAFile) {
    TestFolder root;
    fs::create_directories(root / "icons");
    root.write("icons/save.bmp", {'B', 'M'});
    const QString icons = displayPath(root / "icons");

    EXPECT_EQ(dropOf({local(root / "icons")}), icons);
    EXPECT_EQ(dropOf({QUrl::fromLocalFile(icons + "/")}), icons) << "no trailing separator";
    EXPECT_EQ(dropOf({local(root / "icons/save.bmp")}), icons);
    EXPECT_EQ(dropOf({local(root / "icons/save.bmp"), local(root.path())}), icons)
        << "the first of several";
    EXPECT_EQ(dropOf({QUrl::fromLocalFile("/")}), QString()) << "the root is the empty text";
}

TEST(DroppedFolder, NothingForWhatNamesNoFolderHere) {
    TestFolder root;
    EXPECT_FALSE(dropOf({}));
    EXPECT_FALSE(dropOf({local(root / "gone")}));
    EXPECT_FALSE(dropOf({QUrl("https://example.org/icons/")}));
    EXPECT_FALSE(dropOf({QUrl("https://example.org/"), local(root.path())}))
        << "only the first is looked at";

    QMimeData text;
    text.setText(displayPath(root.path()));
    EXPECT_FALSE(droppedFolder(text));
}

} // namespace

} // namespace pixtint
