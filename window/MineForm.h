// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: owns the game, the drawing buffers, the image lists and the
// menus whose check marks are the options. Its sources are split by concern:
// MineForm.cpp (start-up, new game, clock, options), MineFormSettings.cpp,
// MineFormShields.cpp, MineFormDialogs.cpp (the dialogs, their placement and
// the screen's limits for them), MineFormInput.cpp, MineFormStatus.cpp,
// MineFormSkins.cpp, MineFormRender.cpp and MineFormDigits.cpp. FieldView.h
// maps cells to pixels and picks their tiles; Panels.h holds the plain controls.
#pragma once

#include "Desktop.h"
#include "FieldView.h"
#include "Gesture.h"
#include "ImageList.h"
#include "MineStorage.h"
#include "Panels.h"
#include "Settings.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <random>

class QAction;
class QMenu;
class TfrmAbout;
class TfrmCredits;
class TfrmCustom;
class TfrmShields;

class TfrmKorvane : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmKorvane(korvane::Desktop &desktop, QWidget *parent = nullptr);
    ~TfrmKorvane() override;

    // Start-up, new game and clock
    void NewGame();
    void ResetClock();
    void RedrawAll();
    void StartClock();
    void timSecondTimer();
    // Field draws for games to come; tests lay out exact fields with it.
    void SetRandomSource(MineRandom random) { FRandom = std::move(random); }

    // Presets and options
    void miNewClick() { NewGame(); }
    void spbNewClick() { NewGame(); }
    void miExitClick() { close(); }
    void miBeginnerClick();
    void miInterClick();
    void miExpertClick();
    void miMasterClick();
    void miCustomClick();
    void miSurroundClick();
    void miMarksClick() { }
    void miStartMarkedClick() { }
    void miAutoClick();
    void miOpenWallsClick();
    void miUpflagClick() { }
    void miMinutesClick();
    void miSecondsClick();
    void miStatusClick();

    // Settings file
    void LoadSettings();
    void SaveSettings();
    // As SaveSettings, for a desktop session that ends under the game: a
    // failure goes to standard error.
    void SaveSettingsAtSessionEnd();
    // The settings file as Exit writes it; the failure message, or nothing.
    QString WriteSettingsFile() const;
    void ApplySettings(const korvane::Settings &settings);
    korvane::Settings CollectSettings() const;
    QString SettingsFile() const;
    // True when the stored size had to change.
    bool LimitNextGame();
    // The four next-game fields as one size, and back.
    korvane::FieldSize NextGame() const;
    void SetNextGame(const korvane::FieldSize &next);

    // Shields
    int ComputeShields(int bombs) const;
    void ShieldClick(QAction *sender);

    // Input
    void pbGameMouseDown(Qt::MouseButton button, int X, int Y);
    void pbGameMouseMove(int X, int Y);
    void pbGameMouseUp(Qt::MouseButton button, int X, int Y);
    // Ends, as a release outside the field would, the gesture of any button
    // remembered down that is not held.
    void pbGameMouseLost(Qt::MouseButtons held);
    bool CycleFlag(int x, int y);
    // The pressed look the gesture puts on or lifts.
    void DrawGesture(const std::vector<korvane::GestureDraw> &draws);
    // The virtual-key code of F2, the one key FormKeyDown acts on.
    static constexpr int VK_F2 = 113;
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);

    // Status bar
    void UpdateStatusBar();

    // Skins, fonts and faces
    void ScanSkins();
    void ScanFonts();
    bool LoadSkin(const QString &name);
    bool LoadFont(const QString &name);
    void LoadDefaultSkin();
    void LoadDefaultFont();
    void SkinItemClick(QAction *sender);
    void FontItemClick(QAction *sender);
    void SetFace(int index);
    void ShowNormalFace() { SetFace(0); }
    void ShowPressedFace() { SetFace(1); }
    void ShowLostFace() { SetFace(2); }
    void ShowWonFace() { SetFace(3); }

    // Field rendering and layout
    korvane::FieldView FieldGeometry() const;
    int TileIndex(int x, int y) const;
    void DrawCell(int x, int y);
    void DrawPressedCell(int x, int y);
    void DrawBlock(int x, int y);
    void DrawPressedBlock(int x, int y);
    void ShowCell(int x, int y);
    void ShowBlock(int x, int y);
    void RenderField();
    void ShowField();
    void LayoutWindow();

    // Digit displays
    QString FormatCounter(int number) const;
    static QString FormatTime(int seconds, bool minutes, int displayDigits);
    QString FormatTime(int seconds, bool minutes) const
    {
        return FormatTime(seconds, minutes, DisplayDigits);
    }
    void DrawCounterDigits(const QString &text);
    void DrawTimerDigits(const QString &text);
    void RenderCounter();
    void RenderTimer();
    void ShowCounter();
    void ShowTimer();
    void UpdateCounterDisplay(const QString &oldText, const QString &newText);
    void UpdateTimerDisplay(const QString &oldText, const QString &newText);

    // Fields of the window, named as the rest of the program speaks of them
    std::unique_ptr<MineGame> Game;
    int GameWidth = 11;
    int GameHeight = 11;
    int GameBombs = 10;
    int GameWalls = 0;
    int ElapsedSeconds = 0;
    int DisplayDigits = 4;
    QImage FieldBitmap;
    QImage TimerBitmap;
    QImage CounterBitmap;
    QStringList SkinFiles;
    QStringList FontFiles;
    int CellWidth = 16;
    int CellHeight = 16;
    int DigitWidth = 13;
    int DigitHeight = 23;
    int MarginColumns = 0;
    QString SkinName = QStringLiteral("Default");
    QString FontName = QStringLiteral("Default");

    // The mouse gesture in progress, with its fields under their own names.
    korvane::Gesture Mouse;
    const bool &LeftDown = Mouse.LeftDown;
    const bool &RightDown = Mouse.RightDown;
    const bool &LeftPending = Mouse.LeftPending;
    const bool &RightPending = Mouse.RightPending;
    const int &PressedX = Mouse.PressedX;
    const int &PressedY = Mouse.PressedY;

    korvane::ImageList ilCells;
    korvane::ImageList ilDigits;
    korvane::ImageList ilFaces;
    QImage imDefaultSkin;
    QImage imDefaultFont;
    QTimer timSecond;

    // Controls
    korvane::Panel *pMain = nullptr;
    korvane::Panel *pDisplay = nullptr;
    korvane::Panel *pCounterSurround = nullptr;
    korvane::Panel *pCounter = nullptr;
    korvane::Panel *pTimerSurround = nullptr;
    korvane::Panel *pTimer = nullptr;
    korvane::Panel *pButton = nullptr;
    korvane::Panel *pGame = nullptr;
    korvane::PaintBox *pbCounter = nullptr;
    korvane::PaintBox *pbTimer = nullptr;
    korvane::PaintBox *pbGame = nullptr;
    korvane::FaceButton *spbNew = nullptr;
    korvane::StatusPanels *sbInfo = nullptr;

    // Menu items
    QMenu *Game1 = nullptr;
    QMenu *Options1 = nullptr;
    QMenu *Help1 = nullptr;
    QAction *miNew = nullptr;
    QAction *miBeginner = nullptr;
    QAction *miInter = nullptr;
    QAction *miExpert = nullptr;
    QAction *miMaster = nullptr;
    QAction *miCustom = nullptr;
    QAction *miExit = nullptr;
    QAction *miSurround = nullptr;
    QMenu *miShields = nullptr;
    QAction *miSingle = nullptr;
    QAction *miMaximum = nullptr;
    QMenu *miPercentageMenu = nullptr;
    QAction *miPercentage = nullptr;
    QAction *miPercentage10 = nullptr;
    QAction *miPercentage20 = nullptr;
    QAction *miPercentage30 = nullptr;
    QAction *miPercentage40 = nullptr;
    QAction *miPercentageCustom = nullptr;
    QAction *miPercentageSelect = nullptr;
    QMenu *miFixedMenu = nullptr;
    QAction *miFixed = nullptr;
    QAction *miFixed2 = nullptr;
    QAction *miFixed3 = nullptr;
    QAction *miFixed4 = nullptr;
    QAction *miFixed5 = nullptr;
    QAction *miFixedCustom = nullptr;
    QAction *miFixedSelect = nullptr;
    QAction *miMarks = nullptr;
    QAction *miStartMarked = nullptr;
    QAction *miAuto = nullptr;
    QAction *miOpenWalls = nullptr;
    QAction *miUpflag = nullptr;
    QAction *miMinutes = nullptr;
    QAction *miSeconds = nullptr;
    QMenu *miSkins = nullptr;
    QMenu *miFonts = nullptr;
    QAction *miStatus = nullptr;
    QAction *ReadMetxt1 = nullptr;
    QAction *Credits1 = nullptr;
    QAction *About1 = nullptr;

    // Dialogs: each is built at its first opening, not before the window's
    // first frame, and belongs to the window from then on.
    TfrmCustom &CustomDialog();
    TfrmAbout &AboutDialog();
    TfrmCredits &CreditsDialog();
    TfrmShields &ShieldsDialog();
    void miPercentageSelectClick();
    void miFixedSelectClick();
    void About1Click();
    void Credits1Click();
    void ReadMetxt1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    void CreateControls();
    void CreateMenus();
    void CreateShieldsMenu();
    void ArrangeControls();
    void ApplyPreset(QAction *item, int width, int height, int bombs);
    // The folders of "Skins" or "Fonts", the player's own first.
    QStringList DataFolder(const QString &name) const;
    void ScanFolder(const QString &folder, QStringList &files, const QString &current, QMenu *menu,
                    bool skins);
    bool LoadTileSet(const QString &name, bool skin);
    void CutSkin(const QImage &picture);
    void CutFont(const QImage &picture);
    // Where a dialog's outer top-left goes, from the window's outer
    // rectangle and the dialog's outer size.
    using DialogPlace = std::function<QPoint(const QRect &window, QSize dialog)>;
    void PlaceDialog(QWidget *dialog, const DialogPlace &where) const;
    void CentreOnWindow(QWidget *dialog) const;
    // The largest inner field (columns, rows) the work area can show: the
    // cells of the field box shown now plus what the space left beside a
    // window of the outer size would hold.
    QSize ScreenMaxima(QSize fieldBox, QSize outer) const;
    // The window's outer size around a field of no cells.
    QSize WindowChrome() const;
    void SelectCustomShields(QAction *custom, bool percentage);
    bool Surround() const;
    int StatusBarHeight() const;
    int ClientHeightAboveStatus() const;
    int PanelsHeight() const;

    korvane::Desktop &FDesktop;
    TfrmCustom *frmCustom = nullptr;
    TfrmAbout *frmAbout = nullptr;
    TfrmCredits *frmCredits = nullptr;
    TfrmShields *frmShields = nullptr;
    MineRandom FRandom;
    std::mt19937 FGenerator;
    // Which field-size item lost its mark when Qt moved it to another, so
    // that a cancelled custom field can put it back.
    QAction *FLostCheck = nullptr;
    QAction *FCheckedBefore = nullptr;
    bool FCustomJustChecked = false;
    // The text the time display shows, the "before" of a format switch.
    QString FTimerText;
    // The frame the last layout counted in: the one the window manager
    // announced before the window was mapped, then the one Qt sees.
    QMargins FFrame;
    QMargins Frame() const;
    // Where the window was last placed, by the layout or by the player.
    QRect FPlaced;
    // A window manager that maximises the window or fills the screen with it
    // imposes another size than the window's own.
    bool Imposed() const;
    bool MaximisedOrFullScreen() const;
    // A layout asked for while the size was imposed, run when it is given back.
    bool FLayoutPending = false;
    // Whether the window manager has maximised the window or filled the
    // screen with it yet.
    bool FStateChanged = false;
    void FollowFrame();
};
