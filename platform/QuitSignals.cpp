// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuitSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace korvane {

namespace {

    constexpr int Caught[] {SIGTERM, SIGINT, SIGHUP};
    // The handler may only touch async-signal-safe things: it writes the signal's
    // number into this pipe, and the event loop reads it from the other end.
    int SignalPipe[2] {-1, -1};

    extern "C" void OnSignal(int signal)
    {
        const int saved = errno;
        const unsigned char byte = static_cast<unsigned char>(signal);
        // A full pipe already holds a request to quit: losing this byte is harmless.
        [[maybe_unused]] const ssize_t n = write(SignalPipe[1], &byte, 1);
        errno = saved;
    }

} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        SignalPipe[0] = SignalPipe[1] = -1;
        return;
    }
    FNotifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &QuitSignals::ReadPipe);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Caught)
        sigaction(signal, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    if (SignalPipe[0] < 0)
        return;
    for (int signal : Caught)
        std::signal(signal, SIG_DFL);
    delete FNotifier;
    close(SignalPipe[0]);
    close(SignalPipe[1]);
    SignalPipe[0] = SignalPipe[1] = -1;
}

void QuitSignals::ReadPipe()
{
    unsigned char byte = 0;
    while (read(SignalPipe[0], &byte, 1) == 1)
        emit Received(byte);
}

} // namespace korvane
