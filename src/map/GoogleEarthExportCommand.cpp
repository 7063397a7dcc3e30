#include "map/GoogleEarthExportCommand.h"

#include "card/CardData.h"
#include "card/MoveProtectInfo.h"
#include "card/WriteDestination.h"
#include "map/GoogleEarthExportHost.h"
#include "map/GoogleEarthLauncher.h"
#include "map/KmzExporter.h"
#include "recording/UserDefaultUtil.h"

#include <QFileInfo>
#include <QUrl>

GoogleEarthExportCommand::GoogleEarthExportCommand(GoogleEarthExportHost &host, UserDefaultUtil &settings,
                                                   KmzExporter &exporter, GoogleEarthLauncher &launcher)
    : _host(host), _settings(settings), _exporter(exporter), _launcher(launcher)
{
}

const QString &GoogleEarthExportCommand::invalidFileNameCharacters()
{
    static const QString characters = [] {
        QString text = QStringLiteral("\"<>|");
        for (char16_t c = 0x00; c <= 0x06; ++c)
            text += QChar(c);
        text += QChar(0x09);
        text += QChar(0x0A);
        text += QChar(0x0D);
        for (char16_t c = 0x0E; c <= 0x1F; ++c)
            text += QChar(c);
        return text + QStringLiteral(":*?\\/");
    }();
    return characters;
}

bool GoogleEarthExportCommand::isValidFileName(const QString &name)
{
    for (QChar c : invalidFileNameCharacters()) {
        if (name.contains(c))
            return false;
    }
    return true;
}

bool GoogleEarthExportCommand::checkFileName(const std::optional<QString> &name)
{
    if (!name || isValidFileName(*name))
        return true;
    _host.showWarning(tr("Warning"), tr("The file name is not valid."));
    return false;
}

QString GoogleEarthExportCommand::startFolder() const
{
    return UserDefaultUtil::saveStartFolder(_settings.pathDirGoogleEarth.toLocalFile());
}

GoogleEarthExportCommand::Outcome GoogleEarthExportCommand::exportGoogleEarthFile()
{
    if (!_host.isReadyToExport())
        return Outcome::NothingToExport;
    GoogleEarthExportSource source = _host.playingItem();
    const bool isEventItem = source.playType == CommonConst::PlayType::Event ||
                             source.playType == CommonConst::PlayType::Surveillance;
    std::shared_ptr<MoveProtectInfo> record;
    if (isEventItem) {
        // The list may have no current row (-1) or have changed under the player.
        if (!source.card || source.row < 0 || source.row >= qsizetype(source.records.size()) ||
            !source.records[size_t(source.row)])
            return Outcome::NothingToExport;
        record = source.records[size_t(source.row)];
    }
    _host.pauseMovie();

    QString startPath = startFolder();
    QString path;
    for (;;) {
        const auto chosen = _host.chooseSavePath(startPath, tr("Export to Google Earth File"));
        if (!chosen || chosen->isEmpty())
            return Outcome::Cancelled;
        path = *chosen;
        if (QFileInfo(path).suffix().compare(QLatin1String("kmz"), Qt::CaseInsensitive) != 0)
            path += QStringLiteral(".kmz");
        if (checkFileName(QFileInfo(path).completeBaseName()))
            break;
        startPath = path;
    }
    // The save panel offers the card's own files; replacing one would destroy it. A refused folder is
    // not remembered for the next panel.
    const std::optional<QUrl> openSource = source.card ? source.card->_openSourcePath : std::nullopt;
    if (WriteDestination::sourceConflict(path, openSource, source.chapters)) {
        _host.showWarning(tr("Warning"), WriteDestination::sourceConflictText());
        return Outcome::Failed;
    }
    _settings.setPathDirGoogleEarth(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
    _exporter.setOpenSource(openSource);
    // Reading a long trip's recordings takes seconds: the window goes on answering meanwhile.
    _exporter.setRunner([this](const KmzExporter::Work &work) {
        _host.runInBackground(tr("Export to Google Earth File"), work);
    });

    bool saved = false;
    if (isEventItem) {
        const EventClip clip = source.playType == CommonConst::PlayType::Event
                                   ? source.card->getEventChapters(*record)
                                   : source.card->getSurveillanceChapters(*record);
        saved = _exporter.exportEventKml(clip.chapters, clip.start, clip.end, *record, path);
    } else {
        saved = _exporter.exportTripKml(source.chapters, path);
    }
    if (!saved && _exporter.wasCancelled())
        return Outcome::Cancelled;
    if (!saved) {
        _host.showWarning(tr("Warning"), tr("The file could not be saved."), _exporter.lastError());
        return Outcome::Failed;
    }
    if (_host.askYesNo(tr("confirmation"), tr("Launch Google Earth now?"), tr("No"), tr("Yes"))) {
        if (!_launcher.isInstalled())
            _host.showWarning(tr("Warning"), tr("Google Earth is not installed."));
        else
            _launcher.openFile(path);
    }
    return Outcome::Exported;
}
