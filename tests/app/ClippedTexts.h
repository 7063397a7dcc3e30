// Finds the texts of a shown window that do not fit the room their widget gives them: labels, buttons,
// header sections, item view cells, line edits and combo boxes; a text already elided with "…" counts.
#pragma once

#include <QString>
#include <vector>

class QWidget;

struct ClippedText
{
    QString widget; // class and object name
    QString text;
    int needed = 0; // pixels the text needs
    int room = 0;   // pixels the widget gives it
};

std::vector<ClippedText> clippedTexts(const QWidget &window);
QString describe(const std::vector<ClippedText> &clipped);
