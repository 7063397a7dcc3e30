// Told when a chapter's thumbnail was made.
#pragma once

class ChapterData;

class ChapterDataDelegate
{
public:
    virtual ~ChapterDataDelegate() = default;
    virtual void thumbnailCreated(ChapterData &chapter) = 0;
};
