#include "player/PlayerEngines.h"

#include "player/MediaEngine.h"
#include "player/PlayerView.h"

#include "card/ChapterData.h"

#include <QFileInfo>
#include <QWidget>

PlayerEngines::PlayerEngines(EngineFactory factory, PlayerView *surface, QObject *parent)
    : QObject(parent), _factory(std::move(factory)), _surface(surface)
{
}

PlayerEngines::~PlayerEngines()
{
    // The video widgets' render contexts go before the engines' cores.
    delete _currentWidget.data();
    delete _nextWidget.data();
    for (Made &spare : _spares)
        delete spare.widget.data();
}

std::unique_ptr<MediaEngine> PlayerEngines::make(QPointer<QWidget> &widget)
{
    Made made;
    if (!_spares.empty()) {
        made = std::move(_spares.front());
        _spares.erase(_spares.begin());
    } else {
        made = create();
    }
    // The sound may have changed since a spare was made.
    made.engine->setMuted(_muted);
    made.engine->setVolume(_volume);
    widget = made.widget;
    return std::move(made.engine);
}

void PlayerEngines::makeSpare()
{
    if (static_cast<int>(_spares.size()) < SPARES)
        _spares.push_back(create());
}

PlayerEngines::Made PlayerEngines::create()
{
    auto engine = _factory();
    MediaEngine *raw = engine.get();
    connect(raw, &MediaEngine::statusChanged, this, [this, raw] {
        if (raw == _current.get())
            emit statusChanged();
    });
    connect(raw, &MediaEngine::endOfItem, this, [this, raw] {
        if (raw == _current.get())
            emit endOfItem();
    });
    connect(raw, &MediaEngine::frameShown, this, [this, raw](double t) {
        if (raw == _current.get())
            emit frameShown(t);
    });
    connect(raw, &MediaEngine::pauseSettled, this, [this, raw] {
        if (raw == _current.get())
            emit pauseSettled();
    });
    // Hidden until the surface takes it as a layer.
    QWidget *widget = engine->createVideoWidget(_surface);
    return {std::move(engine), widget};
}

bool PlayerEngines::ensureCurrent()
{
    if (_current)
        return false;
    _current = make(_currentWidget);
    return true;
}

void PlayerEngines::ensureStandby()
{
    if (_next)
        return;
    _next = make(_nextWidget);
    _surface->setStandbyLayer(_nextWidget);
}

void PlayerEngines::reset()
{
    _surface->setPlayerLayer(nullptr);
    _surface->setStandbyLayer(nullptr);
    _currentWidget = nullptr;
    _nextWidget = nullptr;
    _current.reset();
    _next.reset();
    dropPrepared();
}

PlayerEngines::LoadResult PlayerEngines::load(const ChapterData &chapter, double brightness)
{
    const QString path = chapter._pathMp4.toLocalFile();
    if (!QFileInfo(path).isFile())
        return LoadResult::Missing;
    if (!_current || !_current->canPlay(path))
        return LoadResult::Unplayable;
    _current->setBrightness(brightness);
    _current->replaceItem(path);
    return LoadResult::Loaded;
}

void PlayerEngines::setLoaded(std::shared_ptr<ChapterData> chapter, std::optional<int64_t> index)
{
    _loadedChapter = std::move(chapter);
    _loadedIndex = _loadedChapter ? index : std::nullopt;
}

void PlayerEngines::prepare(int64_t index, const std::shared_ptr<ChapterData> &chapter, int64_t firstFrameMs,
                            double brightness, double rate)
{
    _preparedIndex = index;
    _preparedChapter.reset();
    const QString path = chapter ? chapter->_pathMp4.toLocalFile() : QString();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    ensureStandby();
    if (!_next->canPlay(path))
        return;
    _next->setBrightness(brightness);
    _next->replaceItem(path);
    _next->presetRate(rate);
    _next->seekExact(firstFrameMs);
    _preparedChapter = chapter;
}

bool PlayerEngines::isPreparedReady() const
{
    return _preparedChapter && _next && _next->isReadyToPlay();
}

void PlayerEngines::dropPrepared()
{
    _preparedIndex.reset();
    _preparedChapter.reset();
}

void PlayerEngines::swap()
{
    setLoaded(_preparedChapter, _preparedIndex);
    std::swap(_current, _next);
    std::swap(_currentWidget, _nextWidget);
    _surface->swapLayers();
    if (_next)
        _next->pause();
    dropPrepared();
    _averageLagMs = 0.0;
    // Its first frame is on screen now.
    if (_current)
        emit frameShown(_current->currentTime());
}

void PlayerEngines::setSound(bool muted, double volume)
{
    _muted = muted;
    _volume = volume;
    forEachEngine([&](MediaEngine &engine) {
        engine.setMuted(muted);
        engine.setVolume(volume);
    });
}

void PlayerEngines::setBrightness(double brightness)
{
    forEachEngine([&](MediaEngine &engine) { engine.setBrightness(brightness); });
}

void PlayerEngines::presetRate(double rate)
{
    forEachEngine([&](MediaEngine &engine) { engine.presetRate(rate); });
}

void PlayerEngines::forEachEngine(const std::function<void(MediaEngine &)> &change)
{
    for (MediaEngine *engine : {_current.get(), _next.get()}) {
        if (engine)
            change(*engine);
    }
}

double PlayerEngines::brightnessForGamma(double g)
{
    if (g == 1.0)
        return 0.0;
    if (g < 1.0)
        return g * 0.3 + 0.7 - 1.0;
    return ((5.0 - g) * -0.25 + 1.0) * 0.4;
}

void PlayerEngines::describe(PlaybackSync::Input &in) const
{
    in.loadedChapter = _loadedIndex;
    in.preparedChapter = _preparedIndex;
    in.isPreparedReady = isPreparedReady();
    in.averageLagMs = _averageLagMs;
    if (_current) {
        in.isEngineReady = _current->isReadyToPlay();
        in.engineRate = _current->rate();
        in.shownMs = _current->currentTime() * 1000.0;
        if (const double fps = _current->frameRate(); fps > 0.0)
            in.frameIntervalMs = 1000.0 / fps;
    }
}

void PlayerEngines::apply(const PlaybackSync::Action &action, int64_t seekTargetMs)
{
    using Step = PlaybackSync::Step;
    const Step step = action.step;
    const double rate = action.engineRate;
    _averageLagMs = action.averageLagMs;
    if (!_current)
        return;
    switch (step) {
    case Step::HoldEngine:
        _current->pause();
        break;
    case Step::PlayEngine:
        _current->setRate(rate);
        break;
    case Step::SeekEngine:
        _current->pause();
        _current->seekExact(seekTargetMs);
        break;
    default:
        break;
    }
}
