// Map page shared by index_en/fr/es.html. The application drives it through the global
// functions below and hears back through the one object it publishes as "MapView":
// marker clicks go to markerClickWithId(), and the view's zoom, map type, balloon state
// and version are written into its properties so the application can answer its getters
// without waiting for a script result.
'use strict';

var START_LAT = 50.8471;
var START_LNG = -104.5627;
var START_ZOOM = 2;

var TEXTS = [
    { roadmap: 'Map', terrain: 'Terrain', balloons: 'Balloons', zoomIn: 'Zoom in', zoomOut: 'Zoom out' },
    { roadmap: 'Plan', terrain: 'Relief', balloons: 'Bulles', zoomIn: 'Zoom avant', zoomOut: 'Zoom arrière' },
    { roadmap: 'Mapa', terrain: 'Relieve', balloons: 'Globos', zoomIn: 'Acercar', zoomOut: 'Alejar' }
];

// Map type ids follow the names the application stores ("roadmap" is its default); the
// types without a free tile source fall back to the road map.
var TILE_SOURCES = {
    roadmap: {
        url: 'https://tile.openstreetmap.org/{z}/{x}/{y}.png',
        options: { maxZoom: 19, attribution: '&copy; OpenStreetMap contributors' }
    },
    terrain: {
        url: 'https://{s}.tile.opentopomap.org/{z}/{x}/{y}.png',
        options: { maxZoom: 17, subdomains: 'abc',
                   attribution: '&copy; OpenStreetMap contributors, SRTM | &copy; OpenTopoMap (CC-BY-SA)' }
    }
};

// Car headings by icon code: the eight main compass points run backwards from North (9),
// the eight in-between points take 20 to 27 clockwise from north-north-east.
var HEADINGS = {
    9: 0, 8: 45, 7: 90, 14: 135, 13: 180, 12: 225, 11: 270, 10: 315,
    20: 22.5, 21: 67.5, 22: 112.5, 23: 157.5, 24: 202.5, 25: 247.5, 26: 292.5, 27: 337.5
};

// Pin colours by marker kind as sent (kind + 1): trip chapter, event, surveillance, adventure.
var PIN_CLASSES = { 1: 'pin-normal', 2: 'pin-event', 3: 'pin-surveillance', 4: 'pin-adventure' };

var state = {
    language: languageOfDocument(),
    mapTypeId: 'roadmap',
    dispBalloon: true,
    initialized: false
};

var bridge = null;
var map = L.map('map', { center: [START_LAT, START_LNG], zoom: START_ZOOM, worldCopyJump: true });
map.attributionControl.setPrefix('Leaflet');

var tileLayers = {};
Object.keys(TILE_SOURCES).forEach(function (id) {
    tileLayers[id] = L.tileLayer(TILE_SOURCES[id].url, TILE_SOURCES[id].options);
});
var layerControl = null;
var balloonControl = null;
// Keyed by the application's marker keys; no prototype, so any key text is just a key.
var markers = Object.create(null);
var routePoints = [];
var routeLine = null; // the pieces of the drawn route
var routeEnd = null;  // its last point
var car = null;

function languageOfDocument()
{
    var lang = (document.documentElement.lang || 'en').substring(0, 2);
    return lang === 'fr' ? 1 : lang === 'es' ? 2 : 0;
}

function texts() { return TEXTS[state.language] || TEXTS[0]; }

function escapeHtml(text)
{
    return String(text).replace(/[&<>"']/g, function (c) {
        return { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' }[c];
    });
}

// --- reporting to the application -------------------------------------------------------

function report()
{
    if (!bridge)
        return;
    bridge.zoom = map.getZoom();
    bridge.mapTypeId = state.mapTypeId;
    bridge.dispBalloon = state.dispBalloon;
}

if (typeof qt !== 'undefined' && qt.webChannelTransport) {
    new QWebChannel(qt.webChannelTransport, function (channel) {
        bridge = channel.objects.MapView;
        if (!bridge)
            return;
        bridge.mapVersion = 'Leaflet ' + L.version;
        report();
    });
}

map.on('zoomend', report);

// --- controls -------------------------------------------------------------------------

var BalloonControl = L.Control.extend({
    options: { position: 'topright' },
    onAdd: function () {
        var box = L.DomUtil.create('label', 'leaflet-bar balloon-control');
        this._check = L.DomUtil.create('input', '', box);
        this._check.type = 'checkbox';
        this._text = L.DomUtil.create('span', '', box);
        L.DomEvent.disableClickPropagation(box);
        var check = this._check;
        L.DomEvent.on(check, 'change', function () { setDispBalloon(check.checked); });
        this.update();
        return box;
    },
    update: function () {
        if (!this._check)
            return;
        this._check.checked = state.dispBalloon;
        this._text.textContent = texts().balloons;
    }
});

function rebuildControls()
{
    if (layerControl)
        map.removeControl(layerControl);
    var named = {};
    named[texts().roadmap] = tileLayers.roadmap;
    named[texts().terrain] = tileLayers.terrain;
    layerControl = L.control.layers(named, null, { position: 'topright' });
    if (state.initialized)
        layerControl.addTo(map);
    if (!balloonControl)
        balloonControl = new BalloonControl().addTo(map);
    balloonControl.update();
    var zoomIn = document.querySelector('.leaflet-control-zoom-in');
    var zoomOut = document.querySelector('.leaflet-control-zoom-out');
    if (zoomIn)
        zoomIn.title = texts().zoomIn;
    if (zoomOut)
        zoomOut.title = texts().zoomOut;
}

map.on('baselayerchange', function (e) {
    Object.keys(tileLayers).forEach(function (id) {
        if (tileLayers[id] === e.layer)
            state.mapTypeId = id;
    });
    report();
});

// --- script interface -----------------------------------------------------------------

// Tiles come only after initialize(): a page the application never initialises (no network)
// still draws the car, route and markers on the plain background.
function initialize()
{
    state.initialized = true;
    showTileLayer();
    rebuildControls();
    centreOn(START_LAT, START_LNG, START_ZOOM);
    report();
}

function showTileLayer()
{
    Object.keys(tileLayers).forEach(function (id) {
        if (id !== state.mapTypeId && map.hasLayer(tileLayers[id]))
            map.removeLayer(tileLayers[id]);
    });
    if (state.initialized && !map.hasLayer(tileLayers[state.mapTypeId]))
        tileLayers[state.mapTypeId].addTo(map);
}

// The centre asked for last. Leaflet keeps its centre in whole pixels of the current zoom, so
// centring at a world view and then zooming in would drift by many pixels; zooming keeps this
// centre until the user moves the map.
var wantedCenter = null;

map.on('moveend', function () {
    if (wantedCenter && map.latLngToContainerPoint(wantedCenter).distanceTo(map.getSize().divideBy(2)) > 2)
        wantedCenter = null;
});

function centreOn(lat, lng, zoom)
{
    wantedCenter = L.latLng(lat, lng);
    map.setView(wantedCenter, zoom, { animate: false });
}

function movePosition(lat, lng) { centreOn(lat, lng, map.getZoom()); }

function setCenter(lat, lng) { centreOn(lat, lng, map.getZoom()); }

function setZoom(zoom) { map.setView(wantedCenter || map.getCenter(), zoom, { animate: false }); }

function clearZoomAndCenter() { centreOn(START_LAT, START_LNG, START_ZOOM); }

function setMapTypeId(id)
{
    state.mapTypeId = TILE_SOURCES.hasOwnProperty(id) ? id : 'roadmap';
    showTileLayer();
    report();
}

function setDispBalloon(show)
{
    state.dispBalloon = !!show;
    Object.keys(markers).forEach(function (key) { bindBalloon(markers[key]); });
    if (balloonControl)
        balloonControl.update();
    report();
}

function setLanguage(language)
{
    state.language = TEXTS[language] ? language : 0;
    document.documentElement.lang = ['en', 'fr', 'es'][state.language];
    rebuildControls();
}

function carIcon(code, isGps)
{
    var heading = HEADINGS[code];
    var classes = 'car' + (isGps ? '' : ' car-nogps');
    var shape;
    if (heading === undefined) {
        classes += ' car-still';
        shape = '<circle cx="16" cy="16" r="9"/>';
    } else {
        shape = '<path d="M16 2 L27 28 L16 21 L5 28 Z"/>';
    }
    var html = '<svg viewBox="0 0 32 32" width="32" height="32"' +
               (heading === undefined ? '' : ' style="transform: rotate(' + heading + 'deg)"') + '>' +
               shape + '</svg>';
    return L.divIcon({ className: classes, html: html, iconSize: [32, 32], iconAnchor: [16, 16] });
}

function drawMyCar(lat, lng, code, isGps)
{
    removeMyCar();
    car = L.marker([lat, lng], { icon: carIcon(code, isGps), interactive: false, zIndexOffset: 1000 });
    car.iconCode = code;
    car.isGps = !!isGps;
    car.addTo(map);
    keepCarInView();
}

// Room between the car and the map's edge: its icon (32 px, anchored at its middle) is seen whole,
// with a little to spare.
var CAR_MARGIN = 24;

// A car drawn out of sight (a new item elsewhere, or the car driving out of the view) brings the map
// to it at the same zoom; a car in sight leaves the user's pan and zoom alone. Centring through
// centreOn keeps the car in the middle when the application zooms next. Nothing moves while the user
// drags or a zoom is under way: the car's next position catches up.
function keepCarInView()
{
    if ((map.dragging && map.dragging.moving()) || map._animatingZoom)
        return;
    var size = map.getSize();
    var at = map.latLngToContainerPoint(car.getLatLng());
    if (at.x >= CAR_MARGIN && at.y >= CAR_MARGIN && at.x <= size.x - CAR_MARGIN && at.y <= size.y - CAR_MARGIN)
        return;
    centreOn(car.getLatLng().lat, car.getLatLng().lng, map.getZoom());
}

function removeMyCar()
{
    if (car)
        map.removeLayer(car);
    car = null;
}

function bindBalloon(marker)
{
    marker.unbindTooltip();
    if (state.dispBalloon && marker.balloonText)
        marker.bindTooltip(escapeHtml(marker.balloonText), { direction: 'top', offset: [0, -30] });
}

function addMarker(key, lat, lng, text, kind)
{
    if (key in markers)
        map.removeLayer(markers[key]);
    var pinClass = PIN_CLASSES[kind] || PIN_CLASSES[1];
    var icon = L.divIcon({
        className: 'pin ' + pinClass,
        html: '<svg viewBox="0 0 24 36" width="24" height="36">' +
              '<path d="M12 1 C5.9 1 1 5.9 1 12 C1 20 12 35 12 35 C12 35 23 20 23 12 C23 5.9 18.1 1 12 1 Z"/>' +
              '<circle cx="12" cy="12" r="4.5"/></svg>',
        iconSize: [24, 36],
        iconAnchor: [12, 35]
    });
    var marker = L.marker([lat, lng], { icon: icon, title: '' });
    marker.markerKey = key;
    marker.markerKind = kind;
    marker.balloonText = text;
    bindBalloon(marker);
    marker.on('click', function () {
        if (bridge)
            bridge.markerClickWithId(key);
    });
    marker.addTo(map);
    markers[key] = marker;
}

function removeMarkerAll()
{
    Object.keys(markers).forEach(function (key) { map.removeLayer(markers[key]); });
    markers = Object.create(null);
}

function addPolyPoint(lat, lng) { routePoints.push([lat, lng]); }

// A whole run of route points in one call: [[lat, lng], ...].
function addPolyPoints(points)
{
    for (var i = 0; i < points.length; ++i)
        routePoints.push([points[i][0], points[i][1]]);
}

var ROUTE_STYLE = { color: '#1565c0', weight: 4, opacity: 0.85, interactive: false };

// The route is drawn as joined pieces, so that a piece added while the card is read does not make
// the whole line be built and drawn again.
function addRoutePiece(points)
{
    if (!routeLine)
        routeLine = L.layerGroup().addTo(map);
    routeLine.addLayer(L.polyline(points, ROUTE_STYLE));
    routeEnd = points[points.length - 1];
}

// The points sent since the last call replace the line drawn before.
function drawPolyline()
{
    var points = routePoints;
    removePolyLine();
    if (points.length > 0)
        addRoutePiece(points);
}

// The points sent since the last call continue the line drawn before.
function extendPolyline()
{
    if (routePoints.length === 0)
        return;
    addRoutePiece(routeEnd ? [routeEnd].concat(routePoints) : routePoints);
    routePoints = [];
}

function removePolyLine()
{
    if (routeLine)
        map.removeLayer(routeLine);
    routeLine = null;
    routeEnd = null;
    routePoints = [];
}

// The points of the drawn route, each once (tests and diagnostics).
function routeLatLngs()
{
    var all = [];
    if (!routeLine)
        return all;
    routeLine.getLayers().forEach(function (piece, index) {
        var points = piece.getLatLngs();
        all = all.concat(index === 0 ? points : points.slice(1));
    });
    return all;
}

function getDispBalloon() { return state.dispBalloon ? 'true' : 'false'; }

function getMapVersion() { return 'Leaflet ' + L.version; }

function getZoom() { return String(map.getZoom()); }

function getMapTypeId() { return state.mapTypeId; }

rebuildControls();
