// SPDX-License-Identifier: MIT
#pragma once
#include "Canvas.h"

#include <string>
#include <vector>

// One picture of everything the generator made, for a person to look at:
// sections of labelled thumbnails, transparent parts on a checkerboard.
class ContactSheet {
public:
    explicit ContactSheet(int width) : m_width(width) {}

    void Section(const std::string& title);
    // Adds a picture shown at most maxWidth x maxHeight (shrunk to fit, never
    // enlarged unless zoom > 1, which enlarges small pictures by whole pixels).
    void Add(const std::string& label, const Canvas& picture, int maxWidth, int maxHeight, int zoom = 1);

    Canvas Render() const;

private:
    struct Item {
        bool section;
        std::string label;
        Canvas picture;
    };
    int m_width;
    std::vector<Item> m_items;
};
