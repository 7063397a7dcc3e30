// The player panel's media engines: the one on screen and a second one that holds the next
// chapter, opened and paused at its first frame, to be swapped in at the border. At most two
// decoders per player; the caller's factory makes them.
#pragma once

#include "player/PlaybackSync.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ChapterData;
class MediaEngine;
class PlayerView;
class QWidget;

class PlayerEngines : public QObject
{
    Q_OBJECT
public:
    using EngineFactory = std::function<std::unique_ptr<MediaEngine>()>;

    PlayerEngines(EngineFactory factory, PlayerView *surface, QObject *parent = nullptr);
    ~PlayerEngines() override;

    // The engine on screen; null until ensureCurrent, and after reset.
    MediaEngine *current() const { return _current.get(); }
    QWidget *currentWidget() const { return _currentWidget; }
    // Makes the engine on screen when there is none; true when it was made now.
    bool ensureCurrent();
    // Makes the second engine, waiting under the one on screen, when there is none: making a core takes
    // the main thread tens of milliseconds, which must not fall on a playing picture at the first border.
    void ensureStandby();
    // Drops both engines and their pictures; the spares stay, as they never held an item.
    void reset();
    // Makes a fresh engine ahead and puts it aside, for the next ensureCurrent or ensureStandby to take
    // instead of making one then: an open makes them while its card is read, not in the turn that plays
    // the first item. At most SPARES are kept.
    void makeSpare();
    int spareCount() const { return static_cast<int>(_spares.size()); }
    static constexpr int SPARES = 2;

    enum class LoadResult
    {
        Loaded,
        Missing,
        Unplayable
    };
    // Puts the chapter's file into the engine on screen.
    LoadResult load(const ChapterData &chapter, double brightness);
    // The chapter whose file the engine on screen holds (also one that failed to load), with its
    // index in the model's list. A reset keeps it: the panel compares it with the model's.
    const std::shared_ptr<ChapterData> &loadedChapter() const { return _loadedChapter; }
    std::optional<int64_t> loadedIndex() const { return _loadedIndex; }
    void setLoaded(std::shared_ptr<ChapterData> chapter, std::optional<int64_t> index);

    // Opens the chapter's file in the second engine, paused at the given movie time, to play at rate
    // once swapped in (0: it stays paused). A file that is missing or cannot be opened is not reported
    // here: its border alerts as without a second engine, so the chapter is noted as prepared but not ready.
    void prepare(int64_t index, const std::shared_ptr<ChapterData> &chapter, int64_t firstFrameMs,
                 double brightness, double rate);
    std::optional<int64_t> preparedIndex() const { return _preparedIndex; }
    const std::shared_ptr<ChapterData> &preparedChapter() const { return _preparedChapter; }
    MediaEngine *prepared() const { return _next.get(); }
    bool isPreparedReady() const;
    void dropPrepared();
    // The prepared engine and chapter go on screen; the old engine is paused and waits under it.
    void swap();
    void setSound(bool muted, double volume);
    // Brightness offset (-1 to 1) of both engines.
    void setBrightness(double brightness);
    // The rate the engines start at when they play next (MediaEngine::presetRate).
    void presetRate(double rate);

    // The brightness offset (-1 to 1) for a gamma setting (0.1 to 5).
    static double brightnessForGamma(double gamma);
    // The engines' part of a sync decision's input.
    void describe(PlaybackSync::Input &in) const;
    // Does the engine's part of a sync action; a seek goes to the given movie time.
    void apply(const PlaybackSync::Action &action, int64_t seekTargetMs);

signals:
    // From the engine on screen only.
    void statusChanged();
    void endOfItem();
    void frameShown(double timeSec);
    void pauseSettled();

private:
    struct Made
    {
        std::unique_ptr<MediaEngine> engine;
        QPointer<QWidget> widget;
    };
    // A spare if there is one, else a new engine.
    std::unique_ptr<MediaEngine> make(QPointer<QWidget> &widget);
    Made create();
    // Both engines, the next chapter's too, get a change of sound, brightness or rate.
    void forEachEngine(const std::function<void(MediaEngine &)> &change);

    EngineFactory _factory;
    PlayerView *_surface;
    std::unique_ptr<MediaEngine> _current;
    QPointer<QWidget> _currentWidget;
    std::unique_ptr<MediaEngine> _next;
    QPointer<QWidget> _nextWidget;
    std::shared_ptr<ChapterData> _loadedChapter;
    std::optional<int64_t> _loadedIndex;
    std::optional<int64_t> _preparedIndex;
    // Null when the prepared chapter's file could not be opened.
    std::shared_ptr<ChapterData> _preparedChapter;
    std::vector<Made> _spares;
    double _averageLagMs = 0.0;
    bool _muted = false;
    double _volume = 1.0;
};
