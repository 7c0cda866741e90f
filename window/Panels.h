// SPDX-License-Identifier: GPL-3.0-or-later
// The plain controls of the main window: bevelled panels, paint boxes that
// copy an off-screen bitmap, the face button and the status bar panels.
#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <functional>

namespace korvane {

// A flat panel with an outer bevel, a border and an inner bevel, in the
// classic grey desktop look.
class Panel : public QWidget
{
public:
    enum Bevel { None, Raised, Lowered };
    Panel(QWidget *parent, Bevel outer, int outerWidth, int border, Bevel inner, int innerWidth);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Bevel FOuter;
    int FOuterWidth;
    int FBorder;
    Bevel FInner;
    int FInnerWidth;
};

// Draws a bitmap at its origin; mouse events go to the handlers as
// (button, x, y) in the box's own pixels.
class PaintBox : public QWidget
{
public:
    PaintBox(QWidget *parent, const QImage *bitmap);

    // The buttons really held, told before every press and move: a release
    // that went elsewhere shows up here first.
    std::function<void(Qt::MouseButtons)> OnButtonsHeld;
    std::function<void(Qt::MouseButton, int, int)> OnMouseDown;
    std::function<void(int, int)> OnMouseMove;
    std::function<void(Qt::MouseButton, int, int)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    const QImage *FBitmap;
};

// The 22 x 22 new-game button: a raised button whose glyph's bottom-left pixel
// colour is transparent.
class FaceButton : public QAbstractButton
{
public:
    explicit FaceButton(QWidget *parent);
    void SetGlyph(const QImage &glyph);
    const QImage &Glyph() const { return FGlyph; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage FGlyph; // with the transparent colour already turned into alpha
};

// A status bar of text panels with given widths, drawn left to right; a panel
// that does not fit is cut off at the bar's right edge.
class StatusPanels : public QWidget
{
public:
    explicit StatusPanels(QWidget *parent);

    QString PanelText(int i) const { return FTexts.value(i); }
    int PanelWidth(int i) const { return FWidths.value(i); }
    void SetPanel(int i, const QString &text, int width);
    // The width of a text for panel i, measured once for each new text of it.
    int TextWidth(int i, const QString &text) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QStringList FTexts;
    QList<int> FWidths;
    // The last text measured for each panel, and its width.
    struct Measured
    {
        QString Text;
        int Width = 0;
    };
    mutable QList<Measured> FMeasured;
};

} // namespace korvane
