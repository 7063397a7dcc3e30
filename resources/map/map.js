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
var PIN_COLOURS = { 1: '#1e88e5', 2: '#e53935', 3: '#757575', 4: '#43a047' };

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
var pinLayer = null; // draws them all (below)
var routeChunks = []; // points sent for the next line: Float64Arrays of latitude, longitude, ...
var routeLoose = [];  // and those sent one by one since the last chunk
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
    if (pinLayer)
        pinLayer.changed();
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

// The car follows the playback several times a second: a car whose icon stays is moved, not made again.
function drawMyCar(lat, lng, code, isGps)
{
    if (car && car.iconCode === code && car.isGps === !!isGps) {
        car.setLatLng([lat, lng]);
    } else {
        removeMyCar();
        car = L.marker([lat, lng], { icon: carIcon(code, isGps), interactive: false, zIndexOffset: 1000 });
        car.iconCode = code;
        car.isGps = !!isGps;
        car.addTo(map);
    }
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

// A canvas over the map, larger than the view by half of it on every side so that a drag shows what
// lies beyond; drawn again once a move or zoom has ended (a zoom ends with a move end too), and scaled
// with the map while a zoom runs. A move that leaves the view inside what was drawn (the map following
// the car several times a minute) only puts the canvas back in place: drawing a long route again costs
// the page far more than the move. A drag starts from a canvas with its whole margin.
var PADDING = 0.5;
var CanvasOverlay = L.Layer.extend({
    onAdd: function (map) {
        this._canvas = L.DomUtil.create('canvas', 'leaflet-zoom-animated', map.getPane(this.options.pane));
        this._canvas.style.pointerEvents = 'none';
        map.on('viewreset moveend', this._moved, this);
        map.on('resize', this.redraw, this);
        map.on('dragstart', this._dragStarts, this);
        map.on('zoomanim', this._animateZoom, this);
        this.redraw();
    },
    onRemove: function (map) {
        map.off('viewreset moveend', this._moved, this);
        map.off('resize', this.redraw, this);
        map.off('dragstart', this._dragStarts, this);
        map.off('zoomanim', this._animateZoom, this);
        L.DomUtil.remove(this._canvas);
    },
    // The canvas's size for the map's size now, in CSS pixels: the view and its margin on every side.
    _fullSize: function () {
        var size = this._map.getSize();
        var pad = size.multiplyBy(PADDING).round();
        return { pad: pad, full: size.add(pad.multiplyBy(2)) };
    },
    // What was drawn covers the view at least this far beyond each edge (plane pixels).
    _covers: function (margin) {
        var map = this._map;
        var drawn = this._drawn;
        if (!drawn || drawn.zoom !== map.getZoom() || drawn.ratio !== (window.devicePixelRatio || 1) ||
            !drawn.size.equals(this._fullSize().full))
            return false;
        var view = map.getPixelBounds();
        var end = drawn.origin.add(drawn.size);
        return view.min.x - margin.x >= drawn.origin.x && view.min.y - margin.y >= drawn.origin.y &&
               view.max.x + margin.x <= end.x && view.max.y + margin.y <= end.y;
    },
    _moved: function () {
        var map = this._map;
        if (!map || map._animatingZoom)
            return;
        if (!this._covers(L.point(0, 0))) {
            this.redraw();
            return;
        }
        // The drawing stays where it is on the plane; the map's layer points may have a new origin.
        var topLeft = this._drawn.origin.subtract(map.getPixelOrigin());
        L.DomUtil.setPosition(this._canvas, topLeft);
        this._topLeft = map.layerPointToLatLng(topLeft);
        this._drawn.pixelOrigin = map.getPixelOrigin();
    },
    _dragStarts: function () {
        if (this._map && !this._map._animatingZoom && !this._covers(this._fullSize().pad))
            this.redraw();
    },
    redraw: function () {
        var map = this._map;
        if (!map || map._animatingZoom)
            return;
        var fullSize = this._fullSize();
        var pad = fullSize.pad, full = fullSize.full;
        var ratio = window.devicePixelRatio || 1;
        var canvas = this._canvas;
        var topLeft = map.containerPointToLayerPoint([0, 0]).subtract(pad);
        L.DomUtil.setPosition(canvas, topLeft);
        if (canvas.width !== Math.round(full.x * ratio) || canvas.height !== Math.round(full.y * ratio)) {
            canvas.width = Math.round(full.x * ratio);
            canvas.height = Math.round(full.y * ratio);
            canvas.style.width = full.x + 'px';
            canvas.style.height = full.y + 'px';
        }
        this._topLeft = map.layerPointToLatLng(topLeft);
        this._zoom = map.getZoom();
        var context = canvas.getContext('2d');
        context.setTransform(ratio, 0, 0, ratio, 0, 0);
        context.clearRect(0, 0, full.x, full.y);
        // Canvas x = plane pixel at this zoom - origin.
        var origin = map.getPixelOrigin().add(topLeft);
        this._drawn = { zoom: this._zoom, pixelOrigin: map.getPixelOrigin(), origin: origin, size: full,
                        ratio: ratio };
        this.draw(context, origin, full);
    },
    // Draws more over what the last redraw left, while the map's plane is still the one it drew on: what
    // goes on top then costs the page only its own drawing. Otherwise the whole is drawn again.
    drawOver: function (draw) {
        var map = this._map;
        var drawn = this._drawn;
        if (!map)
            return;
        var ratio = window.devicePixelRatio || 1;
        if (map._animatingZoom || !drawn || drawn.zoom !== map.getZoom() ||
            !drawn.pixelOrigin.equals(map.getPixelOrigin()) || drawn.ratio !== ratio) {
            this.redraw();
            return;
        }
        var context = this._canvas.getContext('2d');
        context.setTransform(drawn.ratio, 0, 0, drawn.ratio, 0, 0);
        draw(context, drawn.origin, drawn.size);
    },
    _animateZoom: function (e) {
        if (!this._topLeft)
            return;
        var scale = this._map.getZoomScale(e.zoom, this._zoom);
        var offset = this._map._latLngToNewLayerPoint(this._topLeft, e.zoom, e.center);
        L.DomUtil.setTransform(this._canvas, offset, scale);
    }
});

// --- markers -----------------------------------------------------------------------------

// A card holds thousands of chapters, each with its pin: the pins are drawn on one canvas rather than
// as an element each, so that a zoom or a new trip costs the page a drawing of the pins in view, not
// thousands of elements to place. They look, stack and answer the mouse as marker elements would:
// an icon of 24 x 36 pixels anchored at its tip, the southern one above, of two at the same height
// the one put last; a click anywhere on its box plays it, and resting on it shows its balloon.
var PIN_SIZE = { x: 24, y: 36 };
var PIN_ANCHOR = { x: 12, y: 35 };
var PIN_SHAPE = 'M12 1 C5.9 1 1 5.9 1 12 C1 20 12 35 12 35 C12 35 23 20 23 12 C23 5.9 18.1 1 12 1 Z';
var pinCount = 0;

function Pin(key, lat, lng, text, kind)
{
    this.markerKey = key;
    this.markerKind = kind;
    this.balloonText = text;
    this.latLng = L.latLng(lat, lng);
    this.order = ++pinCount;
}
Pin.prototype.getLatLng = function () { return this.latLng; };

// One pin's picture per colour, at the screen's pixel ratio; drawn as a pattern that fills the pin's
// box, which costs the page's canvas a small part of what drawing the picture as an image does.
var pinImages = Object.create(null);
function pinImage(kind)
{
    var colour = PIN_COLOURS[kind] || PIN_COLOURS[1];
    if (pinImages[colour])
        return pinImages[colour];
    var ratio = window.devicePixelRatio || 1;
    var image = document.createElement('canvas');
    image.width = Math.ceil(PIN_SIZE.x * ratio);
    image.height = Math.ceil(PIN_SIZE.y * ratio);
    var context = image.getContext('2d');
    context.scale(ratio, ratio);
    context.fillStyle = colour;
    context.strokeStyle = '#ffffff';
    context.lineWidth = 1.5;
    var shape = new Path2D(PIN_SHAPE);
    context.fill(shape);
    context.stroke(shape);
    context.fillStyle = '#ffffff';
    context.beginPath();
    context.arc(12, 12, 4.5, 0, 2 * Math.PI);
    context.fill();
    pinImages[colour] = image;
    return image;
}

// Drawing order: the northern first, of two at the same height the one put first.
function comparePins(a, b) { return a.point.y - b.point.y || a.order - b.order; }

var PinLayer = CanvasOverlay.extend({
    options: { pane: 'pins' },
    onAdd: function (map) {
        if (!map.getPane('pins')) {
            // Above the route, below the car (in the marker pane) and the balloons.
            map.createPane('pins').style.zIndex = 590;
        }
        this._balloon = L.tooltip({ direction: 'top', offset: [0, -30] });
        this._hovered = null;
        map.on('mousemove', this._onMove, this);
        map.on('mouseout', this._onLeave, this);
        map.on('click', this._onClick, this);
        CanvasOverlay.prototype.onAdd.call(this, map);
    },
    onRemove: function (map) {
        map.off('mousemove', this._onMove, this);
        map.off('mouseout', this._onLeave, this);
        map.off('click', this._onClick, this);
        CanvasOverlay.prototype.onRemove.call(this, map);
    },
    // The pins in drawing order, the topmost last: sorted whole when the zoom changes, and kept so as
    // pins are put (see added).
    _ordered: function () {
        var zoom = this._map.getZoom();
        if (this._order && this._orderZoom === zoom)
            return this._order;
        var map = this._map;
        var all = Object.keys(markers).map(function (key) {
            var pin = markers[key];
            pin.point = map.project(pin.latLng, zoom).round();
            return pin;
        });
        all.sort(comparePins);
        this._order = all;
        this._orderZoom = zoom;
        return all;
    },
    // The pins just put, the latest of their keys: a card's pins come a few at a time while it is read,
    // so only these are placed and sorted, then merged into the order, the pins they replace left out.
    added: function (pins) {
        var map = this._map;
        var order = this._order;
        if (!map || !order || this._orderZoom !== map.getZoom()) {
            this.changed();
            return;
        }
        var zoom = this._orderZoom;
        var fresh = pins.filter(function (pin) { return markers[pin.markerKey] === pin; });
        fresh.forEach(function (pin) { pin.point = map.project(pin.latLng, zoom).round(); });
        fresh.sort(comparePins);
        var merged = new Array(order.length + fresh.length);
        var at = new Array(fresh.length); // where each fresh pin went
        var n = 0, i = 0, j = 0, replaced = false;
        while (i < order.length || j < fresh.length) {
            if (j >= fresh.length || (i < order.length && comparePins(order[i], fresh[j]) < 0)) {
                var pin = order[i++];
                if (markers[pin.markerKey] === pin)
                    merged[n++] = pin;
                else
                    replaced = true;
            } else {
                at[j] = n;
                merged[n++] = fresh[j++];
            }
        }
        merged.length = n;
        this._order = merged;
        this._hovered = null;
        map.closeTooltip(this._balloon);
        // Pins put over the others only go on top of the canvas; a pin put under one drawn before, or one
        // taken away, needs the whole drawn again.
        var firstFresh = Infinity;
        fresh.forEach(function (pin) { firstFresh = Math.min(firstFresh, pin.order); });
        var under = replaced || fresh.some(function (pin, k) {
            for (var next = at[k] + 1; next < n && merged[next].point.y - pin.point.y < PIN_SIZE.y; ++next) {
                var other = merged[next];
                if (other.order < firstFresh && Math.abs(other.point.x - pin.point.x) < PIN_SIZE.x)
                    return true;
            }
            return false;
        });
        if (under) {
            this.redraw();
            return;
        }
        var layer = this;
        this.drawOver(function (context, origin, size) { layer._drawPins(fresh, context, origin, size); });
    },
    changed: function () {
        this._order = null;
        this._hovered = null;
        if (this._map) {
            this._map.closeTooltip(this._balloon);
            this.redraw();
        }
    },
    _pattern: function (context, kind) {
        var image = pinImage(kind);
        if (!this._patterns || this._patterns.context !== context)
            this._patterns = { context: context, byImage: new Map() };
        var pattern = this._patterns.byImage.get(image);
        if (!pattern) {
            pattern = context.createPattern(image, 'no-repeat');
            // The picture's pixels over the pin's box, as an image drawn into it would be.
            pattern.setTransform(new DOMMatrix().scale(PIN_SIZE.x / image.width, PIN_SIZE.y / image.height));
            this._patterns.byImage.set(image, pattern);
        }
        return pattern;
    },
    draw: function (context, origin, size) { this._drawPins(this._ordered(), context, origin, size); },
    _drawPins: function (pins, context, origin, size) {
        var transform = context.getTransform();
        for (var i = 0; i < pins.length; ++i) {
            var x = pins[i].point.x - origin.x - PIN_ANCHOR.x;
            var y = pins[i].point.y - origin.y - PIN_ANCHOR.y;
            if (x > size.x || y > size.y || x + PIN_SIZE.x < 0 || y + PIN_SIZE.y < 0)
                continue;
            context.setTransform(transform.a, 0, 0, transform.d, transform.e + transform.a * x,
                                 transform.f + transform.d * y);
            context.fillStyle = this._pattern(context, pins[i].markerKind);
            context.fillRect(0, 0, PIN_SIZE.x, PIN_SIZE.y);
        }
        context.setTransform(transform);
    },
    // The topmost pin whose box holds the point of the map's container.
    pinAt: function (containerPoint) {
        var map = this._map;
        if (!map || map._animatingZoom)
            return null;
        var at = map.containerPointToLayerPoint(containerPoint).add(map.getPixelOrigin());
        var pins = this._ordered();
        for (var i = pins.length - 1; i >= 0; --i) {
            var x = at.x - (pins[i].point.x - PIN_ANCHOR.x);
            var y = at.y - (pins[i].point.y - PIN_ANCHOR.y);
            if (x >= 0 && x < PIN_SIZE.x && y >= 0 && y < PIN_SIZE.y)
                return pins[i];
        }
        return null;
    },
    _onMove: function (e) {
        var pin = this.pinAt(e.containerPoint);
        this._map.getContainer().style.cursor = pin ? 'pointer' : '';
        if (pin !== this._hovered)
            this._showBalloon(pin);
    },
    _showBalloon: function (pin) {
        this._hovered = pin;
        if (pin && state.dispBalloon && pin.balloonText)
            this._map.openTooltip(this._balloon.setContent(escapeHtml(pin.balloonText)).setLatLng(pin.latLng));
        else
            this._map.closeTooltip(this._balloon);
    },
    _onLeave: function () {
        this._hovered = null;
        this._map.getContainer().style.cursor = '';
        this._map.closeTooltip(this._balloon);
    },
    // Leaflet closes a balloon as a click begins on a touch-capable page; a click on a pin shows its
    // balloon again, as a marker's own does.
    _onClick: function (e) {
        var pin = this.pinAt(e.containerPoint);
        this._showBalloon(pin);
        if (pin && bridge)
            bridge.markerClickWithId(pin.markerKey);
    }
});

pinLayer = new PinLayer().addTo(map);

function putMarker(key, lat, lng, text, kind)
{
    var pin = new Pin(key, lat, lng, text, kind);
    markers[key] = pin;
    return pin;
}

function addMarker(key, lat, lng, text, kind)
{
    pinLayer.added([putMarker(key, lat, lng, text, kind)]);
}

// Many markers in one call: [[key, lat, lng, text, kind], ...].
function addMarkers(list)
{
    var pins = new Array(list.length);
    for (var i = 0; i < list.length; ++i)
        pins[i] = putMarker(list[i][0], list[i][1], list[i][2], list[i][3], list[i][4]);
    pinLayer.added(pins);
}

function removeMarkerAll()
{
    markers = Object.create(null);
    pinLayer.changed();
}

// --- the route ------------------------------------------------------------------------------

// A long trip's route is hundreds of thousands of points. They are kept as numbers (their degrees and
// their place on the zoom-0 Mercator plane) and drawn on a canvas of their own, each zoom or move a
// walk over plain arrays that leaves out what is outside the view and what falls on a pixel already
// drawn: no path element the page would lay out again, no object per point.
var ROUTE_COLOUR = '#1565c0';
var ROUTE_WIDTH = 4;
var ROUTE_OPACITY = 0.85;
var EARTH_RADIUS = 6378137;
var MAX_LATITUDE = 85.0511287798;

// points: a Float64Array of latitude, longitude, latitude, ...
function RoutePiece(points)
{
    var count = points.length >> 1;
    this.points = points;
    this.x = new Float64Array(count);
    this.y = new Float64Array(count);
    // The spherical Mercator plane of Leaflet's default projection, 256 pixels wide at zoom 0.
    var scale = 0.5 / Math.PI;
    var minX = Infinity, minY = Infinity, maxX = -Infinity, maxY = -Infinity;
    for (var i = 0; i < count; ++i) {
        var lat = points[2 * i], lng = points[2 * i + 1];
        var sin = Math.sin(Math.max(Math.min(MAX_LATITUDE, lat), -MAX_LATITUDE) * Math.PI / 180);
        var x = 256 * (0.5 + scale * lng * Math.PI / 180);
        var y = 256 * (0.5 - scale * Math.log((1 + sin) / (1 - sin)) / 2);
        this.x[i] = x;
        this.y[i] = y;
        minX = Math.min(minX, x);
        maxX = Math.max(maxX, x);
        minY = Math.min(minY, y);
        maxY = Math.max(maxY, y);
    }
    // The piece's box on the zoom-0 plane: a piece wholly outside the canvas is passed over without
    // working out what of it to walk at the zoom.
    this.box = { minX: minX, minY: minY, maxX: maxX, maxY: maxY };
    this._kept = [];
}
// Whether the piece may cross the canvas whose top left is at origin (plane pixels at the scale).
RoutePiece.prototype.mayShow = function (scale, origin, size, margin) {
    var box = this.box;
    return box.maxX * scale - origin.x >= -margin && box.minX * scale - origin.x <= size.x + margin &&
           box.maxY * scale - origin.y >= -margin && box.minY * scale - origin.y <= size.y + margin;
};
RoutePiece.prototype.getLatLngs = function () {
    var all = [];
    for (var i = 0; i + 1 < this.points.length; i += 2)
        all.push(L.latLng(this.points[i], this.points[i + 1]));
    return all;
};
// A set of segments between whole pixels, either way round.
function SegmentSet()
{
    this._size = 0;
    this._grow(1 << 12);
}
SegmentSet.prototype._grow = function (capacity) {
    var old = this._keys, oldUsed = this._used;
    this._keys = new Int32Array(capacity * 4);
    this._used = new Uint8Array(capacity);
    this._size = 0;
    if (!old)
        return;
    for (var i = 0; i < oldUsed.length; ++i) {
        if (oldUsed[i])
            this.add(old[4 * i], old[4 * i + 1], old[4 * i + 2], old[4 * i + 3]);
    }
};
// False when the segment was there already.
SegmentSet.prototype.add = function (x0, y0, x1, y1) {
    if (x1 < x0 || (x1 === x0 && y1 < y0)) {
        var t = x0; x0 = x1; x1 = t;
        t = y0; y0 = y1; y1 = t;
    }
    var mask = this._used.length - 1;
    var slot = (Math.imul(x0, 73856093) ^ Math.imul(y0, 19349663) ^ Math.imul(x1, 83492791) ^
                Math.imul(y1, 2654435761 | 0)) & mask;
    var keys = this._keys;
    while (this._used[slot]) {
        var at = slot * 4;
        if (keys[at] === x0 && keys[at + 1] === y0 && keys[at + 2] === x1 && keys[at + 3] === y1)
            return false;
        slot = (slot + 1) & mask;
    }
    if (2 * (this._size + 1) > this._used.length) {
        this._grow(this._used.length * 2);
        return this.add(x0, y0, x1, y1);
    }
    this._used[slot] = 1;
    var to = slot * 4;
    keys[to] = x0;
    keys[to + 1] = y0;
    keys[to + 2] = x1;
    keys[to + 3] = y1;
    ++this._size;
    return true;
};

// What to walk of a piece at a zoom: its points a pixel or more from the one before, each a segment
// from that one, or the start of a line (flagged, index + START) where the segment ran over one walked
// before. A route that goes over the same road many times is thus drawn once, its stroke the same.
// Worked out once per zoom, so that a move or a zoom back walks only what can show.
var START = 0x80000000;
RoutePiece.prototype.kept = function (zoom, scale) {
    for (var k = 0; k < this._kept.length; ++k) {
        if (this._kept[k].zoom === zoom)
            return this._kept[k].entries;
    }
    var xs = this.x, ys = this.y, count = xs.length;
    var entries = new Uint32Array(count);
    var seen = new SegmentSet();
    var n = 0, lastX = 0, lastY = 0, lastIsStart = false;
    for (var i = 0; i < count; ++i) {
        var x = Math.round(xs[i] * scale), y = Math.round(ys[i] * scale);
        if (i > 0 && x === lastX && y === lastY)
            continue;
        if (i === 0 || !seen.add(lastX, lastY, x, y)) {
            // A new line from here; a start just before it, with no segment from it, is dropped.
            if (lastIsStart)
                --n;
            entries[n++] = (i | START) >>> 0;
            lastIsStart = true;
        } else {
            entries[n++] = i;
            lastIsStart = false;
        }
        lastX = x;
        lastY = y;
    }
    var kept = entries.slice(0, n);
    // A few zooms kept: the one shown and those a click away.
    this._kept.unshift({ zoom: zoom, entries: kept });
    this._kept.length = Math.min(this._kept.length, 3);
    return kept;
};

var RouteLayer = CanvasOverlay.extend({
    options: { pane: 'overlayPane' },
    initialize: function () { this._pieces = []; },
    getLayers: function () { return this._pieces.slice(); },
    clear: function () {
        this._pieces = [];
        if (this._map)
            this.redraw();
    },
    // A piece goes on top of those drawn before it, each stroked on its own: drawing it over the canvas
    // gives what a whole redraw would, without walking the rest of a long route again.
    addPiece: function (points) {
        var piece = new RoutePiece(points);
        this._pieces.push(piece);
        var layer = this;
        this.drawOver(function (context, origin, size) { layer._drawPieces([piece], context, origin, size); });
        return piece;
    },
    draw: function (context, origin, size) { this._drawPieces(this._pieces, context, origin, size); },
    _drawPieces: function (pieces, context, origin, size) {
        var zoom = this._map.getZoom();
        var scale = this._map.getZoomScale(zoom, 0);
        context.strokeStyle = ROUTE_COLOUR;
        context.lineWidth = ROUTE_WIDTH;
        context.globalAlpha = ROUTE_OPACITY;
        context.lineCap = 'round';
        context.lineJoin = 'round';
        var margin = ROUTE_WIDTH;
        var maxX = size.x + margin, maxY = size.y + margin;
        for (var p = 0; p < pieces.length; ++p) {
            if (!pieces[p].mayShow(scale, origin, size, margin))
                continue;
            var xs = pieces[p].x, ys = pieces[p].y;
            var kept = pieces[p].kept(zoom, scale);
            context.beginPath();
            var lastX = 0, lastY = 0, lastCode = -1, penDown = false;
            for (var k = 0; k < kept.length; ++k) {
                var entry = kept[k];
                var i = entry & 0x7fffffff;
                var x = xs[i] * scale - origin.x, y = ys[i] * scale - origin.y;
                var code = (x < -margin ? 1 : x > maxX ? 2 : 0) | (y < -margin ? 4 : y > maxY ? 8 : 0);
                if (entry < START && lastCode >= 0 && (code & lastCode) === 0) {
                    // A segment that may cross the view.
                    if (!penDown) {
                        context.moveTo(lastX, lastY);
                        penDown = true;
                    }
                    context.lineTo(x, y);
                } else {
                    // A new line, or a segment wholly on one side outside the view: the line picks up
                    // from here.
                    penDown = false;
                }
                lastX = x;
                lastY = y;
                lastCode = code;
            }
            context.stroke();
        }
    }
});

var routeLayer = new RouteLayer().addTo(map);

function addPolyPoint(lat, lng) { routeLoose.push(lat, lng); }

// A whole run of route points in one call: [[lat, lng], ...].
function addPolyPoints(points)
{
    for (var i = 0; i < points.length; ++i)
        routeLoose.push(points[i][0], points[i][1]);
}

function keepLoosePoints()
{
    if (routeLoose.length === 0)
        return;
    routeChunks.push(Float64Array.from(routeLoose));
    routeLoose = [];
}

// The points sent for the next line, after those given, in one array; none are kept for the next.
function takeRoutePoints(before)
{
    keepLoosePoints();
    var count = before.length;
    routeChunks.forEach(function (chunk) { count += chunk.length; });
    var all = new Float64Array(count);
    all.set(before, 0);
    var at = before.length;
    routeChunks.forEach(function (chunk) {
        all.set(chunk, at);
        at += chunk.length;
    });
    routeChunks = [];
    return all;
}

function routePointsWaiting()
{
    return routeLoose.length > 0 || routeChunks.length > 0;
}

// The same run packed (see MapScriptText::addPackedPolyPoints): with steps set, zigzag LEB128 steps
// in millionths of a degree; otherwise little-endian 64-bit numbers. Either way the page takes them
// without reading a number's text.
function addPackedPolyPoints(packed, steps)
{
    var bytes = atob(packed);
    keepLoosePoints();
    if (steps) {
        var values = new Float64Array(bytes.length);
        var count = 0, last = [0, 0];
        for (var at = 0; at < bytes.length;) {
            var value = 0, unit = 1, b;
            do {
                b = bytes.charCodeAt(at++);
                value += (b & 0x7f) * unit;
                unit *= 128;
            } while (b & 0x80);
            var step = value % 2 ? -(value + 1) / 2 : value / 2;
            var micro = last[count & 1] += step;
            values[count++] = micro / 1000000;
        }
        routeChunks.push(values.subarray(0, count - (count & 1)));
        return;
    }
    var buffer = new ArrayBuffer(bytes.length);
    var view = new Uint8Array(buffer);
    for (var i = 0; i < bytes.length; ++i)
        view[i] = bytes.charCodeAt(i);
    routeChunks.push(new Float64Array(buffer, 0, Math.floor(bytes.length / 16) * 2));
}

// The route is drawn as joined pieces, so that a piece added while the card is read does not make
// the whole line be built again.
function addRoutePiece(points)
{
    if (!routeLine)
        routeLine = routeLayer;
    routeLayer.addPiece(points);
    routeEnd = points.slice(points.length - 2);
}

// The points sent since the last call replace the line drawn before.
function drawPolyline()
{
    var points = takeRoutePoints([]);
    removePolyLine();
    if (points.length > 0)
        addRoutePiece(points);
}

// The points sent since the last call continue the line drawn before.
function extendPolyline()
{
    if (!routePointsWaiting())
        return;
    addRoutePiece(takeRoutePoints(routeEnd || []));
}

function removePolyLine()
{
    routeLayer.clear();
    routeLine = null;
    routeEnd = null;
    routeChunks = [];
    routeLoose = [];
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
