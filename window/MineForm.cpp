// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shut-down, the menus, the new-game routine with its presets,
// the game clock and the option toggles.
#include "MineForm.h"

#include "BuiltInImages.h"
#include "Frame.h"
#include "Menus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>

#include <chrono>

using namespace korvane;

TfrmKorvane::TfrmKorvane(Desktop &desktop, QWidget *parent)
    : QMainWindow(parent)
    , FDesktop(desktop)
{
    setWindowTitle(QStringLiteral("Korvane"));
    // A fixed-size window: a window manager offers minimise and close, never maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    // The program icon at the sizes title bars and task lists show. The large
    // picture is the desktop entry's: decoding it here, and handing its 256 KB
    // to the X server, made start-up a quarter slower than a bare Qt window.
    QIcon icon;
    for (const auto name : {u"korvane-16", u"korvane-32"})
        icon.addPixmap(QPixmap::fromImage(BuiltInImage(name)));
    setWindowIcon(icon);
    FDesktop.SetParentWindow(this);
    timSecond.setInterval(1000);
    // A coarse timer may fire several per cent early; the clock counts ticks.
    timSecond.setTimerType(Qt::PreciseTimer);
    connect(&timSecond, &QTimer::timeout, this, &TfrmKorvane::timSecondTimer);

    imDefaultSkin = BuiltInImage(u"DefaultSkin");
    imDefaultFont = BuiltInImage(u"DefaultFont");
    ilFaces.Reset(16, 16);
    ilFaces.AddStrip(BuiltInImage(u"Faces"));

    CreateControls();
    CreateMenus();
    qApp->installEventFilter(this);
    FormCreate();
}

TfrmKorvane::~TfrmKorvane()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TfrmKorvane::CreateControls()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);
    pMain = new Panel(client, Panel::Raised, 2, 2, Panel::None, 0);
    pDisplay = new Panel(pMain, Panel::None, 0, 2, Panel::Lowered, 2);
    pCounterSurround = new Panel(pDisplay, Panel::None, 0, 3, Panel::None, 0);
    pCounter = new Panel(pCounterSurround, Panel::Lowered, 1, 0, Panel::None, 0);
    pbCounter = new PaintBox(pCounter, &CounterBitmap);
    pTimerSurround = new Panel(pDisplay, Panel::None, 0, 3, Panel::None, 0);
    pTimer = new Panel(pTimerSurround, Panel::Lowered, 1, 0, Panel::None, 0);
    pbTimer = new PaintBox(pTimer, &TimerBitmap);
    pButton = new Panel(pDisplay, Panel::None, 0, 0, Panel::None, 0);
    spbNew = new FaceButton(pButton);
    spbNew->setFixedSize(22, 22);
    connect(spbNew, &QAbstractButton::clicked, this, [this] { spbNewClick(); });
    pGame = new Panel(pMain, Panel::None, 0, 2, Panel::Lowered, 2);
    pbGame = new PaintBox(pGame, &FieldBitmap);
    pbGame->OnButtonsHeld = [this](Qt::MouseButtons held) { pbGameMouseLost(held); };
    pbGame->OnMouseDown = [this](Qt::MouseButton b, int x, int y) { pbGameMouseDown(b, x, y); };
    pbGame->OnMouseMove = [this](int x, int y) { pbGameMouseMove(x, y); };
    pbGame->OnMouseUp = [this](Qt::MouseButton b, int x, int y) { pbGameMouseUp(b, x, y); };
    sbInfo = new StatusPanels(client);
    const QStringList texts {QStringLiteral("Flags: 8888"), QStringLiteral("Open: 8888"),
                             QStringLiteral("Known: 100%"), QStringLiteral("Chances:")};
    const int widths[] {60, 63, 73, 63};
    for (int i = 0; i < 4; ++i)
        sbInfo->SetPanel(i, texts[i], widths[i]);
}

void TfrmKorvane::CreateMenus()
{
    // The menus stay in the window, never in a desktop's global menu bar. Said
    // before the bar exists, this also spares the session bus query for one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // What a row makes. Radio items name their group among the menu's items
    // (AddCheckItem's group index); a check item stands alone.
    enum RowKind : int {
        rkSeparator = -6,
        rkShieldsMenu = -5,
        rkSkinMenu = -4,
        rkFontMenu = -3,
        rkCommand = -2,
        rkCheck = -1,
        rkSizeGroup = 0,
        rkClockGroup = 1,
    };
    struct Item
    {
        QAction **item;
        const char *caption;
        RowKind kind;
        bool checked;
        void (TfrmKorvane::*handler)();
    };

    Game1 = menuBar()->addMenu(QStringLiteral("&Game"));
    const Item gameItems[] {
        {&miNew, "&New      [F2]", rkCommand, false, &TfrmKorvane::miNewClick},
        {nullptr, nullptr, rkSeparator, false, nullptr},
        {&miBeginner, "&Beginner", rkSizeGroup, false, &TfrmKorvane::miBeginnerClick},
        {&miInter, "&Intermediate", rkSizeGroup, false, &TfrmKorvane::miInterClick},
        {&miExpert, "&Expert", rkSizeGroup, false, &TfrmKorvane::miExpertClick},
        {&miMaster, "&Master", rkSizeGroup, false, &TfrmKorvane::miMasterClick},
        {&miCustom, "&Custom...", rkSizeGroup, false, &TfrmKorvane::miCustomClick},
        {nullptr, nullptr, rkSeparator, false, nullptr},
        {&miExit, "E&xit", rkCommand, false, &TfrmKorvane::miExitClick},
    };
    Options1 = menuBar()->addMenu(QStringLiteral("&Options"));
    const Item optionItems[] {
        {&miSurround, "S&urroundings", rkCheck, true, &TfrmKorvane::miSurroundClick},
        {nullptr, "S&hields", rkShieldsMenu, false, nullptr},
        {&miMarks, "&Marks", rkCheck, true, &TfrmKorvane::miMarksClick},
        {&miStartMarked, "Start Marked", rkCheck, false, &TfrmKorvane::miStartMarkedClick},
        {&miAuto, "&Auto Open", rkCheck, false, &TfrmKorvane::miAutoClick},
        {&miOpenWalls, "&Open Walls", rkCheck, false, &TfrmKorvane::miOpenWallsClick},
        {&miUpflag, "Upflag", rkCheck, false, &TfrmKorvane::miUpflagClick},
        {nullptr, nullptr, rkSeparator, false, nullptr},
        {&miMinutes, "&Minutes", rkClockGroup, true, &TfrmKorvane::miMinutesClick},
        {&miSeconds, "&Seconds", rkClockGroup, false, &TfrmKorvane::miSecondsClick},
        {nullptr, nullptr, rkSeparator, false, nullptr},
        {nullptr, "Skin", rkSkinMenu, false, nullptr},
        {nullptr, "Font", rkFontMenu, false, nullptr},
        {&miStatus, "Status", rkCheck, true, &TfrmKorvane::miStatusClick},
    };
    auto build = [this](QMenu *menu, const auto &items) {
        for (const Item &it : items) {
            const QString caption = QString::fromUtf8(it.caption);
            switch (it.kind) {
            case rkSeparator:
                menu->addSeparator();
                continue;
            case rkShieldsMenu:
                CreateShieldsMenu();
                continue;
            case rkSkinMenu:
                miSkins = menu->addMenu(caption);
                continue;
            case rkFontMenu:
                miFonts = menu->addMenu(caption);
                continue;
            default:
                break;
            }
            QAction *action = it.kind == rkCommand ? menu->addAction(caption)
                                                   : AddCheckItem(menu, caption, it.kind);
            action->setChecked(it.checked);
            *it.item = action;
            connect(action, &QAction::triggered, this, it.handler);
        }
    };
    build(Game1, gameItems);
    for (QAction *item : {miBeginner, miInter, miExpert, miMaster, miCustom}) {
        // The group takes the mark off the old item before the new one reports it.
        connect(item, &QAction::toggled, this, [this, item](bool on) {
            if (!on) {
                FLostCheck = item;
                return;
            }
            FCheckedBefore = FLostCheck;
            FLostCheck = nullptr;
            if (item == miCustom)
                FCustomJustChecked = true;
        });
    }
    build(Options1, optionItems);

    Help1 = menuBar()->addMenu(QStringLiteral("&Help"));
    ReadMetxt1 = Help1->addAction(QStringLiteral("Readme"));
    Credits1 = Help1->addAction(QStringLiteral("Credits..."));
    About1 = Help1->addAction(QStringLiteral("&About..."));
    connect(ReadMetxt1, &QAction::triggered, this, &TfrmKorvane::ReadMetxt1Click);
    connect(Credits1, &QAction::triggered, this, &TfrmKorvane::Credits1Click);
    connect(About1, &QAction::triggered, this, &TfrmKorvane::About1Click);
}

void TfrmKorvane::FormCreate()
{
    MarginColumns = 0;
    CellHeight = 16;
    CellWidth = 16;

    // Centred on the whole screen at the designed size, frame included; the
    // layout of the first game later resizes the window about this centre.
    // A manager that answers neither frames the window later, and the layout
    // follows then.
    std::optional<QMargins> frame = AnnouncedFrame(this);
    if (!frame)
        frame = GeneralFrame();
    FFrame = frame.value_or(QMargins());
    WatchFrame(this, [this] { FollowFrame(); });
    resize(192, menuBar()->sizeHint().height() + 231 + sbInfo->height());
    if (const QScreen *s = screen()) {
        const QRect g = s->geometry();
        const QSize outer = OuterRect(this, FFrame).size();
        PlaceOuter(this,
                   {g.left() + (g.width() - outer.width()) / 2,
                    g.top() + (g.height() - outer.height()) / 2},
                   FFrame);
    }

    FieldBitmap = QImage();
    TimerBitmap = QImage();
    CounterBitmap = QImage();
    FGenerator.seed(static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count()
        ^ std::chrono::system_clock::now().time_since_epoch().count()));
    SkinFiles.clear();
    FontFiles.clear();

    LoadSettings();
    ScanSkins();
    ScanFonts();
    NewGame();
    NewGame();
}

void TfrmKorvane::FormDestroy()
{
    timSecond.stop();
    Game.reset();
    FieldBitmap = QImage();
    TimerBitmap = QImage();
    CounterBitmap = QImage();
    SkinFiles.clear();
    FontFiles.clear();
    SaveSettings();
}

void TfrmKorvane::NewGame()
{
    Game.reset();
    const FieldSize next = NextGame();
    const int shields = ComputeShields(next.Bombs);
    MineRandom random = FRandom;
    if (!random) {
        random = [this](std::int32_t n) {
            return std::uniform_int_distribution<std::int32_t>(0, n - 1)(FGenerator);
        };
    }
    Game = std::make_unique<MineGame>(next.Width, next.Height, next.Bombs, next.Walls, shields,
                                      miStartMarked->isChecked(), random);
    if (miOpenWalls->isChecked()) {
        Game->OpenInnerWalls();
        if (miSurround->isChecked())
            Game->OpenBorderWalls();
    }
    ResetClock();
}

void TfrmKorvane::ResetClock()
{
    timSecond.stop();
    ElapsedSeconds = 0;
    RedrawAll();
}

void TfrmKorvane::RedrawAll()
{
    DisplayDigits = std::max<int>(4, QString::number(Game->BombsLeft()).size());
    Game->FAutoOpen = miAuto->isChecked();
    RenderCounter();
    RenderTimer();
    RenderField();
    LayoutWindow();
    UpdateStatusBar();
    ShowCounter();
    ShowTimer();
    ShowField();
    ShowNormalFace();
}

void TfrmKorvane::StartClock()
{
    ElapsedSeconds = 1;
    RenderTimer();
    ShowTimer();
    timSecond.start();
    if (!timSecond.isActive())
        FDesktop.ShowMessage(QStringLiteral("Not enough timers available"));
}

void TfrmKorvane::timSecondTimer()
{
    const bool minutes = miMinutes->isChecked();
    const QString oldText = FormatTime(ElapsedSeconds, minutes);
    // The count has no upper limit; it stops growing only where an int would wrap.
    if (ElapsedSeconds < std::numeric_limits<int>::max())
        ++ElapsedSeconds;
    UpdateTimerDisplay(oldText, FormatTime(ElapsedSeconds, minutes));
}

void TfrmKorvane::ApplyPreset(QAction *item, int width, int height, int bombs)
{
    item->setChecked(true);
    SetNextGame({width, height, bombs, 0});
    NewGame();
}

void TfrmKorvane::miBeginnerClick()
{
    ApplyPreset(miBeginner, 11, 11, 10);
}

void TfrmKorvane::miInterClick()
{
    ApplyPreset(miInter, 18, 18, 40);
}

void TfrmKorvane::miExpertClick()
{
    ApplyPreset(miExpert, 32, 18, 99);
}

void TfrmKorvane::miMasterClick()
{
    ApplyPreset(miMaster, 32, 26, 180);
}

bool TfrmKorvane::Surround() const
{
    return miSurround->isChecked();
}

void TfrmKorvane::miSurroundClick()
{
    RenderField();
    LayoutWindow();
    ShowField();
    UpdateStatusBar();
}

void TfrmKorvane::miAutoClick()
{
    Game->FAutoOpen = miAuto->isChecked();
}

void TfrmKorvane::miOpenWallsClick()
{
    if (!miOpenWalls->isChecked())
        return;
    const bool inner = Game->OpenInnerWalls();
    const bool border = miSurround->isChecked() && Game->OpenBorderWalls();
    if (inner || border) {
        RenderField();
        ShowField();
        UpdateStatusBar();
    }
}

void TfrmKorvane::miMinutesClick()
{
    // Qt has already moved the check mark: the text before the click is the
    // one on display.
    const QString oldText = FTimerText;
    miMinutes->setChecked(true);
    UpdateTimerDisplay(oldText, FormatTime(ElapsedSeconds, true));
}

void TfrmKorvane::miSecondsClick()
{
    const QString oldText = FTimerText;
    miSeconds->setChecked(true);
    UpdateTimerDisplay(oldText, FormatTime(ElapsedSeconds, false));
}

void TfrmKorvane::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    if (key == VK_F2)
        NewGame();
}

bool TfrmKorvane::eventFilter(QObject *watched, QEvent *event)
{
    // Whatever size the window manager gives, the controls fit it.
    if (watched == this && event->type() == QEvent::Resize && Game)
        ArrangeControls();
    if (watched == this
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize
            || event->type() == QEvent::WindowStateChange))
        FollowFrame();
    // The window sees every key before its controls do, so F2 works wherever
    // the focus is inside it. Each key-down counts, those of a held key too.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (key->key() == Qt::Key_F2 && widget && widget->window() == this) {
            FormKeyDown(VK_F2, key->modifiers());
            // Taken here: an unhandled key travels on to every parent, and
            // each would start another game.
            return true;
        }
    }
    // A menu, a message box or the loss of the focus takes the mouse: the
    // field would never see the release of a button held on it.
    const bool popup = event->type() == QEvent::Show && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->windowType() == Qt::Popup;
    const bool lost = watched == this
        && (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowDeactivate);
    if (popup || lost)
        pbGameMouseLost(Qt::NoButton);
    return QMainWindow::eventFilter(watched, event);
}
