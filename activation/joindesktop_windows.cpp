#include "desktopnames.h"
#include "forms.h"
#include "joindesktop.h"

#include <QObject>
#include <QWinEventNotifier>

#include <string>
#include <windows.h>

namespace {

// Windows has no session bus: the program's instances meet through two named objects in
// the user's session (Local\, so each session has a program of its own). A shared word
// holds the process id of the running program; an event asks it to come forward.
std::wstring sessionName(const wchar_t *suffix)
{
    return L"Local\\" + DesktopId.toStdWString() + suffix;
}

bool runs(DWORD process_id)
{
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, process_id);
    if (!process)
        return false;
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

// Makes this process the running program unless another runs: returns the one that does.
// The exchange is atomic, so of two started at once one wins; a program that crashed
// left its id behind, which the next start replaces.
LONG claim(volatile LONG *owner)
{
    const auto self = static_cast<LONG>(::GetCurrentProcessId());
    LONG expected = 0;
    for (;;) {
        const LONG seen = ::InterlockedCompareExchange(owner, self, expected);
        if (seen == expected)
            return self;
        if (runs(static_cast<DWORD>(seen)))
            return seen;
        expected = seen;
    }
}

// The running program's hold on the names, for as long as it runs. Windows closes the
// handles of a process that crashed; the names go with the last handle.
class Instance final : public QObject
{
public:
    Instance(HANDLE mapping, volatile LONG *owner, HANDLE forward, QObject *parent)
        : QObject(parent), m_mapping(mapping), m_owner(owner), m_forward(forward)
    {
        auto *notifier = new QWinEventNotifier(forward, this);
        connect(notifier, &QWinEventNotifier::activated, this, [] {
            if (Form1) // not once the program is ending
                ComeForward();
        });
    }
    ~Instance() override
    {
        ::InterlockedCompareExchange(m_owner, 0, static_cast<LONG>(::GetCurrentProcessId()));
        ::UnmapViewOfFile(const_cast<LONG *>(m_owner));
        ::CloseHandle(m_mapping);
        ::CloseHandle(m_forward);
    }
    Instance(const Instance &) = delete;
    Instance &operator=(const Instance &) = delete;

private:
    HANDLE m_mapping;
    volatile LONG *m_owner;
    HANDLE m_forward;
};

} // namespace

bool JoinDesktop(QObject *parent)
{
    // Made before the id is shared, so that whoever reads the id finds the event.
    HANDLE forward = ::CreateEventW(nullptr, FALSE, FALSE, sessionName(L".Forward").c_str());
    HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          sizeof(LONG), sessionName(L"").c_str());
    void *view = mapping ? ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)) : nullptr;
    if (!forward || !view) {
        // Names held by another user in this session (runas): this start works alone.
        if (mapping)
            ::CloseHandle(mapping);
        if (forward)
            ::CloseHandle(forward);
        return true;
    }
    auto *owner = static_cast<volatile LONG *>(view);
    const LONG running = claim(owner);
    if (running == static_cast<LONG>(::GetCurrentProcessId())) {
        new Instance(mapping, owner, forward, parent);
        return true;
    }
    // This start was the user's, so it may give the foreground away; the running program
    // takes it when it comes forward.
    ::AllowSetForegroundWindow(static_cast<DWORD>(running));
    ::SetEvent(forward);
    ::UnmapViewOfFile(view);
    ::CloseHandle(mapping);
    ::CloseHandle(forward);
    return false;
}

void LaunchNoBus() {}

void KeepLaunchTokens() {}
