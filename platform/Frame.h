// SPDX-License-Identifier: GPL-3.0-or-later
// A top-level window's frame: the border and title bar a window manager puts
// around it, known to Qt only once the window has been framed and mapped.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

#include <functional>
#include <optional>

class QWidget;

namespace korvane {

// The frame the window manager announces for the window before it is mapped
// (the window's native window is created for the question): none without a
// manager or on a platform other than X11, nothing when a manager that says
// it answers does not.
std::optional<QMargins> AnnouncedFrame(QWidget *window);

// The frame a window manager that leaves AnnouncedFrame unanswered gives
// windows in general, when it tells: an estimate that may differ from a
// window's own, so a frame seen on another window is a better guess.
std::optional<QMargins> GeneralFrame();

// The frame Qt has seen around the window; none before it is framed.
QMargins SeenFrame(const QWidget *window);

// The window's outer rectangle with the frame given.
QRect OuterRect(const QWidget *window, const QMargins &frame);

// Calls back, after Qt has seen it too, whenever the window manager changes
// the frame of the window: framing it after mapping moves nothing, so no Qt
// event tells of it.
void WatchFrame(QWidget *window, std::function<void()> changed);

// Puts the window's outer top-left corner at the point, the frame given: the
// client area is placed, so no stale frame position of Qt's counts.
void PlaceOuter(QWidget *window, QPoint topLeft, const QMargins &frame);

} // namespace korvane
