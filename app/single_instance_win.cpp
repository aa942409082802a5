#include "app/single_instance.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <string>
#include <vector>

#include <windows.h>

#include <sddl.h>

namespace quorvane {
namespace {

// The user's SID as text ("S-1-5-21-..."); empty where the token cannot be read.
std::wstring UserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::wstring sid;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    LPWSTR text = nullptr;
    if (size != 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size)
        && ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

// A running panel comes to the front when a later start broadcasts this
// message (a registered one, whose name carries the user: another user's
// panel on the same desktop, through "Run as", registers another).
class Activation : public QAbstractNativeEventFilter {
public:
    explicit Activation(UINT message)
        : m_message(message)
    {
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override
    {
        // Seen as the event loop takes it from the queue, or else as a window receives it.
        const bool windows = eventType == "windows_dispatcher_MSG" || eventType == "windows_generic_MSG";
        if (!windows || static_cast<MSG*>(message)->message != m_message)
            return false;
        if (result != nullptr) // none from the event loop
            *result = 0;
        BringPanelToFront(); // SetForegroundWindow, allowed by the start that asked
        return true;
    }

private:
    const UINT m_message;
};

} // namespace

// The panel holds a mutex named in the session's own namespace (Local\) and
// for the user, so other sessions and other users on this one each keep
// their panel. The first process owns it until it ends; when it ends without
// letting go, the next start's wait finds it abandoned and takes it over.
bool HandedOverToRunningPanel()
{
    const std::wstring name = L"org.example.quorvane.Quorvane." + UserSid();
    const UINT message = RegisterWindowMessageW((name + L".Activate").c_str());
    HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str());
    // Refused: held by this user's panel running elevated, whose mutex an
    // ordinary process may not open.
    bool running = mutex == nullptr && GetLastError() == ERROR_ACCESS_DENIED;
    if (mutex != nullptr) {
        const DWORD waited = WaitForSingleObject(mutex, 0); // never closed: held for the life of the process
        running = waited == WAIT_TIMEOUT;
    }
    if (running) {
        // The user just started this process, which may therefore bring a
        // window to the front, and lets the running panel do so. Posted, not
        // sent: a panel that hangs cannot hang this start.
        AllowSetForegroundWindow(ASFW_ANY);
        PostMessageW(HWND_BROADCAST, message, 0, 0);
        return true;
    }
    if (message != 0)
        QCoreApplication::instance()->installNativeEventFilter(new Activation(message));
    return false;
}

} // namespace quorvane
