// The one object the map page sees, as "MapView": the page may call markerClickWithId and
// write its view state into the properties; nothing else is callable from the page.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class MapPageObject : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int zoom READ zoom WRITE setZoom NOTIFY zoomChanged)
    Q_PROPERTY(QString mapTypeId READ mapTypeId WRITE setMapTypeId NOTIFY mapTypeIdChanged)
    Q_PROPERTY(bool dispBalloon READ dispBalloon WRITE setDispBalloon NOTIFY dispBalloonChanged)
    Q_PROPERTY(QString mapVersion READ mapVersion WRITE setMapVersion NOTIFY mapVersionChanged)
public:
    explicit MapPageObject(QObject *parent = nullptr);

    Q_INVOKABLE void markerClickWithId(const QString &key);

    // Not invokable from the page: the owner hears clicks and state changes through these.
    void setClickHandler(std::function<void(const QString &)> handler) { _clickHandler = std::move(handler); }
    // Forgets what an earlier page reported (a new page load starts from nothing).
    void reset();
    bool hasZoom() const { return _hasZoom; }
    bool hasDispBalloon() const { return _hasDispBalloon; }

    int zoom() const { return _zoom; }
    QString mapTypeId() const { return _mapTypeId; }
    bool dispBalloon() const { return _dispBalloon; }
    QString mapVersion() const { return _mapVersion; }

signals:
    void zoomChanged();
    void mapTypeIdChanged();
    void dispBalloonChanged();
    void mapVersionChanged();

private:
    void setZoom(int zoom);
    void setMapTypeId(const QString &id);
    void setDispBalloon(bool show);
    void setMapVersion(const QString &version);

    std::function<void(const QString &)> _clickHandler;
    int _zoom = 0;
    bool _hasZoom = false;
    QString _mapTypeId;
    bool _dispBalloon = false;
    bool _hasDispBalloon = false;
    QString _mapVersion;
};
