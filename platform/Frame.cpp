// SPDX-License-Identifier: GPL-3.0-or-later
// Asks an EWMH window manager for a window's frame before mapping it
// (_NET_REQUEST_FRAME_EXTENTS), so that the first frame on screen is already
// placed and sized around the real frame.
#include "Frame.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#if KORVANE_HAVE_XCB
#    include <xcb/xcb.h>

#    include <algorithm>
#    include <chrono>
#    include <cstdint>
#    include <cstdlib>
#    include <cstring>
#    include <memory>
#    include <thread>
#endif

namespace korvane {

#if KORVANE_HAVE_XCB
namespace {

    template<typename Reply>
    using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

    template<typename Reply>
    ReplyPtr<Reply> Owned(Reply *reply)
    {
        return ReplyPtr<Reply>(reply, &std::free);
    }

    xcb_atom_t Atom(xcb_connection_t *c, const char *name)
    {
        const auto a = Owned(xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr));
        return a ? a->atom : 0;
    }

    class FrameFilter : public QAbstractNativeEventFilter
    {
    public:
        FrameFilter(QWidget *window, xcb_atom_t extents, std::function<void()> changed)
            : FWindow(window)
            , FExtents(extents)
            , FChanged(std::move(changed))
        { }

        bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
        {
            if (type != "xcb_generic_event_t" || !FWindow)
                return false;
            const auto *e = static_cast<const xcb_generic_event_t *>(message);
            if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                return false;
            const auto *p = static_cast<const xcb_property_notify_event_t *>(message);
            // The native window may be created after the watch begins.
            if (p->atom == FExtents && p->window == xcb_window_t(FWindow->internalWinId()))
                QTimer::singleShot(0, FWindow, FChanged);
            return false;
        }

    private:
        QPointer<QWidget> FWindow;
        xcb_atom_t FExtents;
        std::function<void()> FChanged;
    };

} // namespace
#endif

void WatchFrame(QWidget *window, std::function<void()> changed)
{
#if KORVANE_HAVE_XCB
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return;
    auto *filter = new FrameFilter(window, Atom(c, "_NET_FRAME_EXTENTS"), std::move(changed));
    qApp->installNativeEventFilter(filter);
    QObject::connect(window, &QObject::destroyed, [filter] {
        qApp->removeNativeEventFilter(filter);
        delete filter;
    });
#else
    Q_UNUSED(window);
    Q_UNUSED(changed);
#endif
}

#if KORVANE_HAVE_XCB
namespace {

    // A window manager that says it answers requests for frames.
    struct Manager
    {
        xcb_connection_t *c;
        xcb_window_t root;
        xcb_atom_t request;
        xcb_atom_t extents;
    };

    // None without X11, without a manager or when the manager does not list
    // the request among those it supports.
    std::optional<Manager> AnsweringManager()
    {
        auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        xcb_connection_t *c = x11 ? x11->connection() : nullptr;
        if (!c)
            return std::nullopt;
        const xcb_atom_t supportedAtom = Atom(c, "_NET_SUPPORTED");
        const xcb_atom_t request = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
        const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        if (!screen || !supportedAtom || !request || !extents)
            return std::nullopt;
        const auto supported = Owned(xcb_get_property_reply(
            c, xcb_get_property(c, 0, screen->root, supportedAtom, XCB_ATOM_ATOM, 0, 4096),
            nullptr));
        if (!supported || supported->format != 32)
            return std::nullopt;
        const auto *list = static_cast<const xcb_atom_t *>(xcb_get_property_value(supported.get()));
        const int count = xcb_get_property_value_length(supported.get()) / 4;
        if (std::find(list, list + count, request) == list + count)
            return std::nullopt;
        return Manager {c, screen->root, request, extents};
    }

    // Asks the manager for the frame of the window `about`, and waits for its
    // answer on that window.
    std::optional<QMargins> Ask(const Manager &m, xcb_window_t about)
    {
        xcb_client_message_event_t request {};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = about;
        request.type = m.request;
        xcb_send_event(m.c, 0, m.root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&request));
        // The manager answers by setting the property, within two milliseconds
        // here; a busy one is waited for a tenth of a second at most.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        do {
            const auto extents = Owned(xcb_get_property_reply(
                m.c, xcb_get_property(m.c, 0, about, m.extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
            if (extents && extents->format == 32
                && xcb_get_property_value_length(extents.get()) == 16) {
                const auto *v
                    = static_cast<const std::uint32_t *>(xcb_get_property_value(extents.get()));
                // Left, right, top, bottom.
                return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        } while (std::chrono::steady_clock::now() < until);
        return std::nullopt;
    }

} // namespace
#endif

std::optional<QMargins> AnnouncedFrame(QWidget *window)
{
#if KORVANE_HAVE_XCB
    // Asked once in vain, a manager is not waited for again.
    static bool silent = false;
    if (silent)
        return std::nullopt;
    // Only a manager that says it answers is asked: without one nobody would,
    // and the window is not created before it is shown.
    const std::optional<Manager> m = AnsweringManager();
    if (!m)
        return QMargins();
    const std::optional<QMargins> frame = Ask(*m, static_cast<xcb_window_t>(window->winId()));
    silent = !frame;
    return frame;
#else
    Q_UNUSED(window);
    return QMargins();
#endif
}

std::optional<QMargins> GeneralFrame()
{
#if KORVANE_HAVE_XCB
    // fluxbox answers only a request about the root window, and puts its
    // estimate there; the root window is left without it afterwards.
    const std::optional<Manager> m = AnsweringManager();
    if (!m)
        return std::nullopt;
    xcb_delete_property(m->c, m->root, m->extents);
    const std::optional<QMargins> frame = Ask(*m, m->root);
    xcb_delete_property(m->c, m->root, m->extents);
    xcb_flush(m->c);
    return frame;
#else
    return std::nullopt;
#endif
}

QMargins SeenFrame(const QWidget *window)
{
    // The native window's: the widget's frame geometry keeps the first frame
    // it saw until the window next moves.
    const QWindow *w = window->windowHandle();
    return w ? w->frameMargins() : QMargins();
}

QRect OuterRect(const QWidget *window, const QMargins &frame)
{
    return window->geometry().marginsAdded(frame);
}

void PlaceOuter(QWidget *window, QPoint topLeft, const QMargins &frame)
{
    window->setGeometry(QRect(topLeft + QPoint(frame.left(), frame.top()), window->size()));
}

} // namespace korvane
