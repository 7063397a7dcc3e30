// Receiver of the card library's finished background work (the main window); called on the main thread.
#pragma once

class ChapterData;

class CardDataDelegate
{
public:
    virtual ~CardDataDelegate() = default;
    // A chapter's thumbnail (or its event record's thumbnail) was just made.
    virtual void chapterDataUpdated(ChapterData &chapter) = 0;
    // A chapter's driving data was just built.
    virtual void redrawRoute(ChapterData &chapter) = 0;
};
