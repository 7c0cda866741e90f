// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for start-up time and memory: the least a Qt Widgets program
// with a menu bar does before its first frame, with Qt's own Fusion style and
// settings. Korvane's look is Fusion too, but it spares the image format
// plugins and the session bus query that this window's menu bar costs.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bare window"));
    QApplication::setStyle(QStringLiteral("Fusion"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&Game"));
    file->addAction(QStringLiteral("E&xit"), &window, &QWidget::close);
    window.menuBar()->addMenu(QStringLiteral("&Options"));
    window.menuBar()->addMenu(QStringLiteral("&Help"));
    window.setCentralWidget(new QLabel(QStringLiteral("A bare window"), &window));
    window.resize(192, 300);
    window.show();
    return app.exec();
}
