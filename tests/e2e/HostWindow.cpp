// SPDX-License-Identifier: MIT
#include "tests/e2e/HostWindow.h"

#include <xcb/xcb.h>
#include <cstdio>
#include <cstdlib>

HostWindow::HostWindow(const std::string& display, int x, int y, int width, int height)
{
    m_connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(m_connection))
        return;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    const xcb_window_t window = xcb_generate_id(m_connection);
    const std::uint32_t values[] = {kKeyColour, 1};  // background pixel, override-redirect
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, screen->root, std::int16_t(x), std::int16_t(y),
                      std::uint16_t(width), std::uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(m_connection, window);
    xcb_get_input_focus_reply_t* sync =
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr);
    std::free(sync);
    m_window = window;
}

HostWindow::~HostWindow()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

std::string HostWindow::IdText() const
{
    return std::to_string(m_window);
}

std::string HostWindow::HexIdText() const
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", unsigned(m_window));
    return text;
}

void HostWindow::Resize(int width, int height)
{
    const std::uint32_t size[] = {std::uint32_t(width), std::uint32_t(height)};
    xcb_configure_window(m_connection, m_window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    xcb_flush(m_connection);
}

void HostWindow::Destroy()
{
    xcb_destroy_window(m_connection, m_window);
    xcb_flush(m_connection);
}

std::vector<std::uint32_t> HostWindow::OtherMappedTopLevels() const
{
    std::vector<std::uint32_t> mapped;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, screen->root), nullptr);
    if (!tree)
        return mapped;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0, n = xcb_query_tree_children_length(tree); i < n; ++i) {
        if (children[i] == m_window)
            continue;
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr);
        if (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED)
            mapped.push_back(children[i]);
        std::free(attributes);
    }
    std::free(tree);
    return mapped;
}
