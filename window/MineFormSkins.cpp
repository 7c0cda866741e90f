// SPDX-License-Identifier: GPL-3.0-or-later
// Skin and font sets: the built-in images, the PNG files in "Skins" and
// "Fonts" (beside the program, and in the player's data folder for a system
// install), their submenus, and the faces.
#include "MineForm.h"

#include "Files.h"
#include "Menus.h"
#include "Png.h"
#include "Strings.h"

#include <QDir>

using namespace korvane;

QStringList TfrmKorvane::DataFolder(const QString &name) const
{
    return SetFoldersOf(FDesktop.Install(), FDesktop.DataFolder(), name);
}

void TfrmKorvane::ScanFolder(const QString &folder, QStringList &files, const QString &current,
                             QMenu *menu, bool skins)
{
    files.clear();
    for (const QString &entry : ListPngNames(DataFolder(folder))) {
        const QString base = LeftPart(entry, entry.lastIndexOf(u'.'));
        // One character raised to one: "ß" would become "SS", a name whose
        // file the loader could not find again.
        const QString name = base.isEmpty() ? base : base.at(0).toUpper() + base.mid(1);
        // Sorted as the player's language sorts, without regard to letter
        // case; a name already listed in another case is dropped.
        const auto at = std::lower_bound(
            files.begin(), files.end(), name, [](const QString &a, const QString &b) {
                return QString::localeAwareCompare(a.toLower(), b.toLower()) < 0;
            });
        if (at != files.end() && at->compare(name, Qt::CaseInsensitive) == 0)
            continue;
        files.insert(at, name);
    }
    for (int i = 0; i < files.size(); ++i) {
        // Captions are shown verbatim: "&" would otherwise mark an accelerator.
        QString caption = files[i];
        caption.replace(u'&', QStringLiteral("&&"));
        QAction *item = AddCheckItem(menu, caption, 3, i);
        item->setChecked(files[i] == current);
        connect(item, &QAction::triggered, this, [this, item, skins] {
            if (skins)
                SkinItemClick(item);
            else
                FontItemClick(item);
        });
    }
}

void TfrmKorvane::ScanSkins()
{
    ScanFolder(QStringLiteral("Skins"), SkinFiles, SkinName, miSkins, true);
}

void TfrmKorvane::ScanFonts()
{
    ScanFolder(QStringLiteral("Fonts"), FontFiles, FontName, miFonts, false);
}

bool TfrmKorvane::LoadTileSet(const QString &name, bool skin)
{
    const QString fileName = name + QStringLiteral(".png");
    const QString what = skin ? QStringLiteral("skin") : QStringLiteral("font");
    const QString ending
        = QStringLiteral(" - Unable to load optional %1 from '%2'").arg(what, fileName);
    // The menu name may have had its first letter raised: find the file again
    // whatever the case of its name on disk.
    const QString path = FindFileNoCase(
        DataFolder(skin ? QStringLiteral("Skins") : QStringLiteral("Fonts")), fileName);
    if (!FileExists(path)) {
        FDesktop.ShowMessage(QStringLiteral("File not found") + ending);
        return false;
    }
    const PngResult png = LoadPng(path);
    if (!png.Ok()) {
        FDesktop.ShowMessage(png.Error + ending);
        return false;
    }
    const QImage &picture = png.Image;
    const int across = skin ? 11 : 12;
    if (picture.width() % across != 0) {
        FDesktop.ShowMessage(QStringLiteral("Bad width") + ending);
        return false;
    }
    if (skin && picture.height() % 4 != 0) {
        FDesktop.ShowMessage(QStringLiteral("Bad height") + ending);
        return false;
    }
    if (skin)
        CutSkin(picture);
    else
        CutFont(picture);
    return true;
}

bool TfrmKorvane::LoadSkin(const QString &name)
{
    return LoadTileSet(name, true);
}

bool TfrmKorvane::LoadFont(const QString &name)
{
    return LoadTileSet(name, false);
}

void TfrmKorvane::CutSkin(const QImage &picture)
{
    CellWidth = picture.width() / 11;
    CellHeight = picture.height() / 4;
    ilCells.Reset(CellWidth, CellHeight);
    for (int r = 0; r < 4; ++r)
        ilCells.AddStrip(picture.copy(0, r * CellHeight, 11 * CellWidth, CellHeight));
}

void TfrmKorvane::CutFont(const QImage &picture)
{
    DigitWidth = picture.width() / 12;
    DigitHeight = picture.height();
    ilDigits.Reset(DigitWidth, DigitHeight);
    ilDigits.AddStrip(picture);
}

void TfrmKorvane::LoadDefaultSkin()
{
    CutSkin(imDefaultSkin);
}

void TfrmKorvane::LoadDefaultFont()
{
    CutFont(imDefaultFont);
}

namespace {

// Qt moves a radio mark before the click handler runs; a failed load puts it
// back on the entry of the set in use, which is the one named as it.
void RestoreCheck(QMenu *menu, const QStringList &files, const QString &current)
{
    for (QAction *item : menu->actions())
        item->setChecked(files.value(Tag(item)) == current);
}

} // namespace

void TfrmKorvane::SkinItemClick(QAction *sender)
{
    const QString name = SkinFiles.value(Tag(sender));
    if (!LoadSkin(name)) {
        RestoreCheck(miSkins, SkinFiles, SkinName);
        return;
    }
    sender->setChecked(true);
    SkinName = name;
    RenderField();
    LayoutWindow();
    ShowField();
    UpdateStatusBar();
}

void TfrmKorvane::FontItemClick(QAction *sender)
{
    const QString name = FontFiles.value(Tag(sender));
    if (!LoadFont(name)) {
        RestoreCheck(miFonts, FontFiles, FontName);
        return;
    }
    sender->setChecked(true);
    FontName = name;
    RenderCounter();
    RenderTimer();
    LayoutWindow();
    UpdateStatusBar();
    ShowCounter();
    ShowTimer();
}

void TfrmKorvane::SetFace(int index)
{
    spbNew->SetGlyph(ilFaces.Image(index));
}
