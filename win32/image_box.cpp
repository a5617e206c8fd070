#include "image_box.h"

#include <windowsx.h>

#include <utility>

#include "handles.h"

namespace win32 {

namespace {

constexpr wchar_t kClassName[] = L"tarpo.ImageBox";

tarpo::form::Size BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// Draws the sunken frame, `width` device pixels wide: the outer rings in the
// colours of BDR_SUNKENOUTER, the inner ones in those of BDR_SUNKENINNER. At
// 100 % that is one ring of each, exactly as DrawEdge(EDGE_SUNKEN) draws it.
// At higher densities each ring grows with the rest of the window.
void DrawSunkenFrame(HDC dc, RECT rect, int width) {
    const int outer = tarpo::form::SunkenFrameRings(width).outer;
    for (int ring = 0; ring < width; ++ring) {
        DrawEdge(dc, &rect, ring < outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER, BF_RECT);
        InflateRect(&rect, -1, -1);
    }
}

}  // namespace

void ImageBox::Register(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    // No CS_DBLCLKS, so the second press of a double-click is a plain press.
    RegisterClassExW(&wc);
}

ImageBox::ImageBox(HWND parent, const tarpo::form::Rect& place, const Scale& scale,
                   std::function<void()> onClick)
    : place_(place), onClick_(std::move(onClick)), scale_(scale) {
    const RECT r = scale_(place_);
    // WS_CLIPSIBLINGS: where framed cells overlap, only the upper box paints.
    CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, parent, nullptr,
                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), this);
}

LRESULT ImageBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> handled = HandleMore(message, wParam, lParam)) return *handled;
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(hwnd_);
            return 0;
        case WM_LBUTTONUP: {
            // A click is a press and a release on the box.
            const bool wasPressed = std::exchange(pressed_, false);
            ReleaseCapture();
            RECT client;
            GetClientRect(hwnd_, &client);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (wasPressed && PtInRect(&client, at) && onClick_) onClick_();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerGetObject(hwnd_, wParam, lParam, Accessible()))
                return answer;
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void ImageBox::Show(HBITMAP picture, bool framed) {
    // Apply the new frame to the old picture first, so that a box left without
    // a picture keeps the size that this frame gives it.
    framed_ = framed;
    FitToPicture();
    picture_ = picture;
    pictureSize_ = picture != nullptr ? BitmapSize(picture) : tarpo::form::Size{};
    FitToPicture();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ImageBox::Rescale(const Scale& scale) {
    scale_ = scale;
    Place(hwnd_, scale_(place_));
}

// The box takes the size of its picture. Without one it keeps its size.
void ImageBox::FitToPicture() {
    if (picture_ == nullptr) return;
    const tarpo::form::Size size = tarpo::form::BoxSize(pictureSize_, framed_);
    if (size.width == place_.width && size.height == place_.height) return;
    place_.width = size.width;
    place_.height = size.height;
    Place(hwnd_, scale_(place_));
}

void ImageBox::OnPaint() {
    Paint paint(hwnd_);
    const HDC dc = paint.dc();
    RECT client;
    GetClientRect(hwnd_, &client);
    // The frame is equally wide on every side, and the picture fills what it
    // encloses.
    const int inset = framed_ ? scale_(tarpo::form::kFrameWidth) : 0;
    if (framed_) DrawSunkenFrame(dc, client, inset);

    RECT inside = client;
    InflateRect(&inside, -inset, -inset);
    if (picture_ == nullptr) {
        // Fill an empty cell with the window background.
        FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
        PaintOver(dc, scale_, place_, framed_);
        return;
    }
    const MemoryDc source(CreateCompatibleDC(dc));
    const Selection selected(source.get(), picture_);
    const int width = inside.right - inside.left;
    const int height = inside.bottom - inside.top;
    if (scale_.isUnscaled()) {
        BitBlt(dc, inset, inset, width, height, source.get(), 0, 0, SRCCOPY);
    } else {
        // Each picture pixel becomes a block of about dpi/96 device pixels,
        // nearest neighbour, never smoothed. At whole multiples (200 %, 300 %)
        // that is exact doubling or tripling. In between (125 %, 150 %) the
        // blocks differ by one device pixel so that the piece fills its box,
        // whose edges lie on the device grid, and the finished picture has no
        // gap or overlap between pieces. Smoothing would blend each piece's
        // edge with its background and draw a seam between the pieces.
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, inset, inset, width, height, source.get(), 0, 0, pictureSize_.width,
                   pictureSize_.height, SRCCOPY);
    }
    PaintOver(dc, scale_, place_, framed_);
}

}  // namespace win32
