#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace morvane::ui::test {

// The client area of a window as drawn now, into a 32-bit bitmap owned by the caller.
//
// Drawn with PrintWindow, window by window from the bottom of the stack up (Wine's PrintWindow
// draws the window alone, without its children); each control is drawn over what lies beneath
// it, so a control without a background of its own shows it.
inline HBITMAP drawWindow(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
    const HGDIOBJ old = SelectObject(canvas, picture);
    PrintWindow(window, canvas, PW_CLIENTONLY);

    auto drawChildren = [&](auto& self, HWND parent) -> void {
        HWND child = GetWindow(GetWindow(parent, GW_CHILD), GW_HWNDLAST);
        for (; child != nullptr; child = GetWindow(child, GW_HWNDPREV)) {
            if (!IsWindowVisible(child))
                continue;
            RECT area;
            GetWindowRect(child, &area);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
            const int width = area.right - area.left, height = area.bottom - area.top;
            HDC part = CreateCompatibleDC(screen);
            HBITMAP partPicture = CreateCompatibleBitmap(screen, width, height);
            const HGDIOBJ oldPart = SelectObject(part, partPicture);
            BitBlt(part, 0, 0, width, height, canvas, area.left, area.top, SRCCOPY);
            PrintWindow(child, part, 0);
            BitBlt(canvas, area.left, area.top, width, height, part, 0, 0, SRCCOPY);
            SelectObject(part, oldPart);
            DeleteObject(partPicture);
            DeleteDC(part);
            self(self, child);
        }
    };
    drawChildren(drawChildren, window);
    SelectObject(canvas, old);
    DeleteDC(canvas);
    ReleaseDC(nullptr, screen);
    return picture;
}

// Writes the bitmap as an uncompressed 24-bit BMP file.
inline bool writeBmp(HBITMAP picture, const std::filesystem::path& file) {
    BITMAP size{};
    GetObjectW(picture, sizeof(size), &size);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = size.bmWidth;
    header.biHeight = size.bmHeight;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    const auto rowBytes = static_cast<std::uint32_t>((size.bmWidth * 3 + 3) & ~3);
    header.biSizeImage = rowBytes * static_cast<std::uint32_t>(size.bmHeight);
    std::vector<char> pixels(header.biSizeImage);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, picture, 0, static_cast<UINT>(size.bmHeight), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return rows == size.bmHeight && out.good();
}

}  // namespace morvane::ui::test
