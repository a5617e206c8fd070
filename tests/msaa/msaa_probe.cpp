// Reads tarpo.exe's main window as a screen reader does, through Microsoft
// Active Accessibility. For every line on standard input it prints one line
// of JSON. "nodes" lists every accessible object under the window's client
// area in the order AccessibleChildren gives them (role, name, state, screen
// location). "events" lists every focus, name-change and alert event
// raised in the window since the probe started (kind, and the object as in
// "nodes"). The probe ends at the end of its input.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kWindowClass[] = L"tarpo.MainWindow";
constexpr UINT kRead = WM_APP;  // a line came in
constexpr int kMaxDepth = 4;

std::string Json(const std::wstring& text) {
    std::string out = "\"";
    for (const wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out + "\"";
}

VARIANT ChildId(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring NameOf(IAccessible* object, LONG id) {
    BSTR name = nullptr;
    std::wstring out;
    if (SUCCEEDED(object->get_accName(ChildId(id), &name)) && name != nullptr) out = name;
    SysFreeString(name);
    return out;
}

std::wstring RoleOf(IAccessible* object, LONG id) {
    VARIANT role;
    VariantInit(&role);
    std::wstring out;
    if (SUCCEEDED(object->get_accRole(ChildId(id), &role))) {
        if (role.vt == VT_I4) {
            wchar_t text[128] = L"";
            GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
            out = text;
        } else if (role.vt == VT_BSTR) {
            out = role.bstrVal;
        }
    }
    VariantClear(&role);
    return out;
}

// Describes one object (role, name, state and place) as a JSON object.
std::string Describe(IAccessible* object, LONG id) {
    VARIANT state;
    VariantInit(&state);
    const LONG flags =
        SUCCEEDED(object->get_accState(ChildId(id), &state)) && state.vt == VT_I4 ? state.lVal : 0;
    long x = 0, y = 0, w = 0, h = 0;
    object->accLocation(&x, &y, &w, &h, ChildId(id));
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "\"state\": %ld, \"location\": [%ld, %ld, %ld, %ld]",
                  static_cast<long>(flags), x, y, w, h);
    return "{\"role\": " + Json(RoleOf(object, id)) + ", \"name\": " + Json(NameOf(object, id)) +
           ", " + numbers + "}";
}

void Walk(IAccessible* parent, int depth, std::vector<std::string>& out) {
    LONG count = 0;
    if (depth > kMaxDepth || FAILED(parent->get_accChildCount(&count)) || count <= 0) return;
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG obtained = 0;
    if (FAILED(AccessibleChildren(parent, 0, count, children.data(), &obtained))) return;
    for (LONG i = 0; i < obtained; ++i) {
        VARIANT& child = children[static_cast<std::size_t>(i)];
        if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) {
            IAccessible* object = nullptr;
            if (SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                         reinterpret_cast<void**>(&object)))) {
                out.push_back(Describe(object, CHILDID_SELF));
                Walk(object, depth + 1, out);
                object->Release();
            }
        } else if (child.vt == VT_I4) {
            out.push_back(Describe(parent, child.lVal));
        }
        VariantClear(&child);
    }
}

std::vector<std::string> events;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                      DWORD) {
    const char* kind = event == EVENT_OBJECT_FOCUS        ? "focus"
                       : event == EVENT_OBJECT_NAMECHANGE ? "namechange"
                       : event == EVENT_SYSTEM_ALERT      ? "alert"
                                                          : nullptr;
    const HWND main = FindWindowW(kWindowClass, nullptr);
    if (kind == nullptr || main == nullptr || (window != main && !IsChild(main, window))) return;
    // Reserve the event's place in the list first, because reading its object
    // may wait on the program while the next events come in.
    const std::size_t slot = events.size();
    events.emplace_back();
    IAccessible* accessible = nullptr;
    VARIANT id;
    VariantInit(&id);
    std::string described = "{}";
    if (SUCCEEDED(AccessibleObjectFromEvent(window, static_cast<DWORD>(object),
                                            static_cast<DWORD>(child), &accessible, &id))) {
        described = Describe(accessible, id.lVal);
        accessible->Release();
    }
    events[slot] = std::string("{\"event\": \"") + kind + "\", \"object\": " + described + "}";
}

void Report() {
    std::vector<std::string> nodes;
    const HWND main = FindWindowW(kWindowClass, nullptr);
    IAccessible* client = nullptr;
    if (main != nullptr && SUCCEEDED(AccessibleObjectFromWindow(
                               main, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&client)))) {
        Walk(client, 0, nodes);
        client->Release();
    }
    std::string line = "{\"nodes\": [";
    for (std::size_t i = 0; i < nodes.size(); ++i) line += (i ? ", " : "") + nodes[i];
    line += "], \"events\": [";
    bool first = true;
    for (const std::string& event : events) {
        if (event.empty()) continue;  // still being read; it goes in the next report
        line += (first ? "" : ", ") + event;
        first = false;
    }
    line += "]}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

// Reads standard input and posts each line as a message to the main thread's
// window, which receives it even while a call to the program waits.
DWORD WINAPI ReadInput(void* window) {
    const auto target = static_cast<HWND>(window);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char c;
    DWORD read = 0;
    while (ReadFile(input, &c, 1, &read, nullptr) && read == 1) {
        if (c == '\n') PostMessageW(target, kRead, 0, 0);
    }
    PostMessageW(target, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRead:
            Report();
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, OnEvent, 0, 0, kFlags);
    // The events between the focus and a name change are left out in OnEvent.
    SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, OnEvent, 0, 0, kFlags);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"msaa_probe";
    RegisterClassW(&wc);
    const HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      wc.hInstance, nullptr);
    CloseHandle(CreateThread(nullptr, 0, ReadInput, window, 0, nullptr));
    std::printf("{\"ready\": true}\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    CoUninitialize();
    return 0;
}
