// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

// A window that the test owns, on its own X connection, the way a
// screensaver daemon or a settings dialog owns the window a module draws
// into. Filled with a key colour so that a module's pixels stand out.
class HostWindow {
public:
    static constexpr std::uint32_t kKeyColour = 0xFF00FF;  // magenta

    HostWindow(const std::string& display, int x, int y, int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool Ok() const { return m_window != 0; }
    std::string IdText() const;     // decimal
    std::string HexIdText() const;  // 0x...

    void Resize(int width, int height);
    void Destroy();

    // The mapped windows directly below the root, this one excluded: the
    // top-level windows anyone else shows.
    std::vector<std::uint32_t> OtherMappedTopLevels() const;

private:
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_window = 0;
};
