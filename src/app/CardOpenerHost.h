// What opening a source does to the main window, step by step; tests give a recording stand-in.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class CardData;
class ChapterData;
using ChapterList = std::vector<std::shared_ptr<ChapterData>>;

class CardOpenerHost
{
public:
    virtual ~CardOpenerHost() = default;

    // Before the reset: keeps the map's zoom and balloon state when the map was centred on a card.
    virtual void keepMapState() = 0;
    // Clears everything that shows the previous source and puts a fresh card object in its place.
    virtual void resetDisplay() = 0;
    virtual std::shared_ptr<CardData> cardData() = 0;
    virtual void setLoading(bool loading) = 0;
    // The player: the play wish and the "Now Loading" text.
    virtual void setAutoPlay(bool autoPlay) = 0;
    virtual void setLoadingTextVisible(bool visible) = 0;
    // While the card is read: the player makes the engines the first item will take.
    virtual void prepareEngines() {}
    // "Warning", critical, with the child windows lowered around it.
    // cause, when given, says what was looked for and not found.
    virtual void warn(const QString &text, const QString &cause = {}) = 0;

    virtual void startLoadWorkers(CardData &card) = 0;
    // While held, from the card's read until its first item is handed over, a click on the list or the
    // map starts no item.
    virtual void holdItemChanges(bool) {}
    // The list filled, the frame display refreshed and the map cleared ("clearZoomAndCenter()").
    virtual void showCard(CardData &card) = 0;
    // The map marked with the list's events, surveillance recordings and trip chapters.
    virtual void markCard(CardData &card) = 0;
    // Where opening hands over to playback: the first trip, failing that the first surveillance
    // recording. False when neither plays. found: the chapters whose files the read has just found, not
    // looked for again.
    virtual bool playFirstItem(const ChapterList &found) = 0;

    // After a failure: the Save button off and without tool tip.
    virtual void disableSave() = 0;
    // The player emptied and the list's change guard dropped (before the unreadable-file alert).
    virtual void clearPlayer() = 0;
    virtual void closeStopWatch() = 0;
    virtual void updateWindowTitle() = 0;
    // While held (an alert is up), the item does not start or go on playing; released, it plays if it
    // was playing or about to.
    virtual void holdPlayback(bool held) = 0;
    // The card reader's list of files it could not read or skipped.
    virtual QStringList loadProblems(CardData &card) = 0;
    // The same for files the card still lists as chapters: not left out, but they may not play.
    virtual QStringList keptProblems(CardData &) { return {}; }
};
