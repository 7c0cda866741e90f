// SPDX-License-Identifier: GPL-3.0-or-later
// A session manager cut down to one logout: it prints the address clients
// find it by (the value of SESSION_MANAGER), and once a client has registered
// and a line arrives on standard input, asks that client to save as a desktop
// does before logging out. It prints "saved" when the client says it is done,
// and ends when the client goes. Exit status 0 when the client saved, 1 on
// any failure or after a minute.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

SmsConn Client = nullptr;
bool Saved = false;
bool Gone = false;

Status RegisterClient(SmsConn conn, SmPointer, char *)
{
    SmsRegisterClientReply(conn, SmsGenerateClientID(conn));
    Client = conn;
    return 1;
}

void SaveYourselfDone(SmsConn, SmPointer, Bool success)
{
    Saved = success;
    std::printf(success ? "saved\n" : "not saved\n");
    std::fflush(stdout);
}

void CloseConnection(SmsConn, SmPointer, int, char **reasons)
{
    Gone = true;
    SmFreeReasons(0, reasons);
}

// The other messages of the protocol are accepted and ignored.
void InteractRequest(SmsConn, SmPointer, int) { }
void InteractDone(SmsConn, SmPointer, Bool) { }
void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) { }
void SaveYourselfPhase2Request(SmsConn, SmPointer) { }
void SetProperties(SmsConn, SmPointer, int count, SmProp **props)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(props[i]);
    std::free(props);
}
void DeleteProperties(SmsConn, SmPointer, int count, char **names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}
void GetProperties(SmsConn conn, SmPointer)
{
    SmsReturnProperties(conn, 0, nullptr);
}

Status NewClient(SmsConn, SmPointer, unsigned long *mask, SmsCallbacks *cb, char **)
{
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask
        | SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask
        | SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask
        | SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    cb->register_client.callback = RegisterClient;
    cb->interact_request.callback = InteractRequest;
    cb->interact_done.callback = InteractDone;
    cb->save_yourself_request.callback = SaveYourselfRequest;
    cb->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
    cb->save_yourself_done.callback = SaveYourselfDone;
    cb->close_connection.callback = CloseConnection;
    cb->set_properties.callback = SetProperties;
    cb->delete_properties.callback = DeleteProperties;
    cb->get_properties.callback = GetProperties;
    return 1;
}

// Clients of the same user on this machine need no authentication here.
Bool AnyHost(char *)
{
    return True;
}

} // namespace

int main()
{
    char error[256] = "";
    if (!SmsInitialize("korvane-test", "1", NewClient, nullptr, AnyHost, sizeof error, error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    // A client that goes away ends the wait rather than the process.
    IceSetIOErrorHandler([](IceConn) {});
    int count = 0;
    IceListenObj *listeners = nullptr;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], AnyHost);
    char *address = IceComposeNetworkIdList(count, listeners);
    std::printf("%s\n", address);
    std::fflush(stdout);

    std::vector<IceConn> clients;
    bool wanted = false;
    bool asked = false;
    const std::time_t end = std::time(nullptr) + 60;
    while (!Gone && std::time(nullptr) < end) {
        if (wanted && Client && !asked) {
            // Both the session's state and the program's own data, at
            // shutdown, without asking the user anything.
            SmsSaveYourself(Client, SmSaveBoth, True, SmInteractStyleNone, False);
            asked = true;
        }
        std::vector<pollfd> fds;
        if (!wanted) {
            pollfd in {0, POLLIN, 0};
            if (poll(&in, 1, 0) > 0) {
                char line[64];
                [[maybe_unused]] const ssize_t n = read(0, line, sizeof line);
                wanted = true;
            }
        }
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn c : clients)
            fds.push_back({IceConnectionNumber(c), POLLIN, 0});
        if (poll(fds.data(), fds.size(), 100) <= 0)
            continue;
        // Clients accepted below have no entry in fds yet.
        const std::size_t polled = clients.size();
        for (int i = 0; i < count; ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            IceAcceptStatus status;
            if (IceConn c = IceAcceptConnection(listeners[i], &status))
                clients.push_back(c);
        }
        for (std::size_t i = 0; i < polled; ++i) {
            if (!(fds[count + i].revents & (POLLIN | POLLHUP)))
                continue;
            if (IceProcessMessages(clients[i], nullptr, nullptr) != IceProcessMessagesSuccess)
                Gone = true;
        }
    }
    if (!Saved)
        std::fprintf(stderr, "the client did not save\n");
    return Saved ? 0 : 1;
}
