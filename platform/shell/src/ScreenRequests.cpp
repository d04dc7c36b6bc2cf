#include "platform/shell/src/ScreenRequests.h"

#include <algorithm>
#include <vector>

namespace shell {

namespace {

struct Request {
    UINT message;
    WPARAM wParam;
};

// The shell's windows all live on one thread.
std::vector<Request>& Noted()
{
    static std::vector<Request> noted;
    return noted;
}

size_t CountNoted(UINT message, WPARAM wParam)
{
    const std::vector<Request>& noted = Noted();
    return std::count_if(noted.begin(), noted.end(), [&](const Request& request) {
        return request.message == message && request.wParam == wParam;
    });
}

}  // namespace

bool ScreenRequests::Post(HWND screen, UINT message, WPARAM wParam)
{
    Noted().push_back({message, wParam});
    if (PostMessageW(screen, message, wParam, 0)) {
        return true;
    }
    Take(message, wParam);
    return false;
}

void ScreenRequests::Send(HWND screen, UINT message, WPARAM wParam)
{
    size_t before = CountNoted(message, wParam);
    Noted().push_back({message, wParam});
    SendMessageW(screen, message, wParam, 0);
    // A screen that is gone took nothing: no note stays for someone else.
    if (CountNoted(message, wParam) > before) {
        Take(message, wParam);
    }
}

bool ScreenRequests::Take(UINT message, WPARAM wParam)
{
    std::vector<Request>& noted = Noted();
    for (auto request = noted.begin(); request != noted.end(); ++request) {
        if (request->message == message && request->wParam == wParam) {
            noted.erase(request);
            return true;
        }
    }
    return false;
}

}  // namespace shell
