// The map page of the map window. The window calls the global functions below, one statement at
// a time, and reads and writes the view through the host object "host" of the web channel.
// Everything the page needs ships with the program; only the tiles come from the network, and
// without them the markers, the line and the scale still show on the plain background.
'use strict';

var map = null;
var host = null;
var tileSources = {};
var tileLayer = null;
var mapTypeId = 'ROADMAP';
var markers = [];
var pendingVertices = [];
var polyLine = null;
// A line coloured by speed: the colour bin of each pending vertex's stretch (from the vertex
// before it), the drawn line as one polyline per colour, its vertices and its legend.
var pendingBins = [];
var speedLine = null;
var speedLineVertices = [];
var speedLineBins = [];
var speedLineScale = [];
var speedLegend = null;
// The start and end marks of the line drawn last: a green circle where the outing began, a
// chequered flag where it ended, so the way it went reads at a glance.
var trackEnds = [];
// The centre the program asked for, until the user moves the map: a resize re-centres on it
// through whole pixels, which would move the reported centre by a fraction of a pixel.
var wantedCenter = null;

new QWebChannel(qt.webChannelTransport, function (channel) {
  host = channel.objects.host;
  host.GeocodeFinished.connect(onGeocodeFinished);
  if (host.Caption) document.title = host.Caption;
});

// The attribution is plain text from the settings file; Leaflet shows it as markup.
function escapeHtml(text) {
  return String(text).replace(/[&<>"']/g, function (c) {
    return {'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;'}[c];
  });
}

// sources: {ROADMAP: {url: ..., attribution: ...}, SATELLITE: ...}; a type without a URL draws
// the road map.
function setTileSources(sources) {
  tileSources = sources || {};
  if (map) showTiles(mapTypeId);
}

function tileSource(type) {
  var source = tileSources[type];
  if (!source || !source.url) source = tileSources.ROADMAP;
  return source || {url: '', attribution: ''};
}

function showTiles(type) {
  mapTypeId = type;
  if (tileLayer) {
    map.removeLayer(tileLayer);
    tileLayer = null;
  }
  var source = tileSource(type);
  if (!source.url) return;
  tileLayer = L.tileLayer(source.url, {maxZoom: 19, attribution: escapeHtml(source.attribution)});
  tileLayer.addTo(map);
}

function loadMap(id, lat, lon, zoom, type) {
  if (map) {
    map.remove();
    map = null;
  }
  markers = [];
  polyLine = null;
  trackEnds = [];
  pendingVertices = [];
  pendingBins = [];
  speedLine = null;
  speedLineVertices = [];
  speedLineBins = [];
  speedLegend = null;
  photoMarkers = [];
  L.Icon.Default.imagePath = 'qrc:///map/leaflet/images/';
  map = L.map(id, {zoomControl: true, attributionControl: true}).setView([lat, lon], zoom);
  map.attributionControl.setPrefix(false);
  L.control.scale({imperial: false}).addTo(map);
  wantedCenter = [lat, lon];
  map.on('dragstart zoomstart', function () {
    wantedCenter = null;
  });
  map.on('resize', function () {
    if (wantedCenter) map.setView(wantedCenter, map.getZoom(), {animate: false});
  });
  showTiles(type || 'ROADMAP');
}

function panTo(lat, lon) {
  if (!map) return;
  map.panTo([lat, lon]);
  wantedCenter = [lat, lon];
}

function createMapMarker(lat, lon) {
  if (!map) return;
  markers.push(L.marker([lat, lon]).addTo(map));
}

function clearMarker() {
  markers.forEach(function (marker) {
    marker.remove();
  });
  markers = [];
}

function addPolyLine(lat, lon) {
  pendingVertices.push([lat, lon]);
}

// Many vertices in one call: [lat0, lon0, lat1, lon1, ...]; for a line coloured by speed also
// the colour bin of each vertex's stretch, [bin0, bin1, ...].
function addPolyLineVertices(vertices, bins) {
  for (var i = 0; i + 1 < vertices.length; i += 2) pendingVertices.push([vertices[i], vertices[i + 1]]);
  if (bins) Array.prototype.push.apply(pendingBins, bins);
}

function removeLine() {
  if (polyLine) polyLine.remove();
  polyLine = null;
  if (speedLine) speedLine.remove();
  speedLine = null;
  speedLineVertices = [];
  speedLineBins = [];
  if (speedLegend) speedLegend.remove();
  speedLegend = null;
}

function drawPolyLine(color, opacity, width) {
  if (!map) return;
  removeLine();
  polyLine = L.polyline(pendingVertices, {color: color, opacity: opacity, weight: width}).addTo(map);
  drawTrackEnds(pendingVertices);
  pendingVertices = [];
  pendingBins = [];
}

// The pending vertices as a line coloured by speed: colors are the scale's, slow to fast; a
// stretch without a speed (bin -1) takes the plain colour. Neighbouring stretches of one colour
// make one run, and all the runs of a colour one polyline, so that a line of many thousand
// stretches is a dozen layers, not thousands. legend: {title, labels: [slow, middle, fast]}.
function drawSpeedLine(plainColor, opacity, width, colors, legend) {
  if (!map) return;
  removeLine();
  var runsByBin = {};
  var run = null;
  var runBin = null;
  for (var j = 1; j < pendingVertices.length; ++j) {
    var bin = pendingBins[j] >= 0 && pendingBins[j] < colors.length ? pendingBins[j] : -1;
    if (bin !== runBin) {
      run = [pendingVertices[j - 1]];
      runBin = bin;
      (runsByBin[bin] = runsByBin[bin] || []).push(run);
    }
    run.push(pendingVertices[j]);
  }
  var layers = Object.keys(runsByBin).map(function (key) {
    var color = key === '-1' ? plainColor : colors[Number(key)];
    return L.polyline(runsByBin[key], {color: color, opacity: opacity, weight: width});
  });
  speedLine = L.featureGroup(layers).addTo(map);
  speedLineVertices = pendingVertices;
  speedLineBins = pendingBins;
  speedLineScale = [plainColor].concat(colors);
  speedLegend = speedScaleLegend(colors, legend).addTo(map);
  drawTrackEnds(pendingVertices);
  pendingVertices = [];
  pendingBins = [];
}

// The scale under its title, slow on the left, with the speeds of its two ends and its middle.
function speedScaleLegend(colors, legend) {
  var control = L.control({position: 'topright'});
  control.onAdd = function () {
    var box = L.DomUtil.create('div', 'speed-legend');
    box.style.cssText = 'background:rgba(255,255,255,0.9);padding:4px 8px;border-radius:4px;' +
                        'box-shadow:0 1px 4px rgba(0,0,0,0.4);font:12px sans-serif;color:#222;min-width:150px';
    var title = L.DomUtil.create('div', 'speed-legend-title', box);
    title.textContent = legend.title;
    title.style.cssText = 'margin-bottom:2px';
    var bar = L.DomUtil.create('div', 'speed-legend-bar', box);
    bar.style.cssText = 'display:flex;height:10px;border:1px solid #888';
    colors.forEach(function (color) {
      var cell = L.DomUtil.create('span', '', bar);
      cell.style.cssText = 'flex:1;background:' + color;
    });
    var labels = L.DomUtil.create('div', 'speed-legend-labels', box);
    labels.style.cssText = 'display:flex;justify-content:space-between;margin-top:1px';
    legend.labels.forEach(function (text) {
      L.DomUtil.create('span', '', labels).textContent = text;
    });
    return box;
  };
  control.title = legend.title;
  control.labels = legend.labels.slice();
  control.colors = colors.slice();
  return control;
}

// The coloured line as the window's checks see it: its colour per stretch and its legend.
function speedLineState() {
  if (!speedLine) return null;
  var colors = [];
  for (var j = 1; j < speedLineVertices.length; ++j) {
    var bin = speedLineBins[j];
    colors.push(bin >= 0 && bin + 1 < speedLineScale.length ? speedLineScale[bin + 1] : speedLineScale[0]);
  }
  return {
    colors: colors,
    layers: speedLine.getLayers().length,
    legend: speedLegend ? {title: speedLegend.title, labels: speedLegend.labels, colors: speedLegend.colors,
                           shown: speedLegend.getContainer().offsetWidth > 0} : null
  };
}

// How many vertices the line on the page has, whichever way it was drawn; -1 without a line.
function lineVertexCount() {
  if (polyLine) return polyLine.getLatLngs().length;
  if (speedLine) return speedLineVertices.length;
  return -1;
}

function trackEndIcon(kind, title) {
  return L.divIcon({className: 'track-' + kind, html: '<span title="' + title + '"></span>', iconSize: [18, 18],
                    iconAnchor: [9, 9]});
}

function drawTrackEnds(vertices) {
  clearTrackEnds();
  if (vertices.length === 0) return;
  var last = vertices[vertices.length - 1];
  // The end first, so that the start stays on top of a round trip's meeting ends.
  if (vertices.length > 1) {
    trackEnds.push(L.marker(last, {icon: trackEndIcon('end', '終了'), interactive: false, keyboard: false,
                                   zIndexOffset: 900}).addTo(map));
  }
  trackEnds.push(L.marker(vertices[0], {icon: trackEndIcon('start', '開始'), interactive: false, keyboard: false,
                                        zIndexOffset: 1000}).addTo(map));
}

function clearTrackEnds() {
  trackEnds.forEach(function (mark) {
    mark.remove();
  });
  trackEnds = [];
}

function clearPolyLine() {
  removeLine();
  clearTrackEnds();
  pendingVertices = [];
  pendingBins = [];
}

function mapFitBounds(minLat, maxLat, minLon, maxLon) {
  if (!map) return;
  wantedCenter = null;
  // A margin, so that the start and end marks and the pictures at the line's edge are not cut by the frame.
  map.fitBounds([[minLat, minLon], [maxLat, maxLon]], {padding: [24, 24]});
}

// The host looks the address up (counted against the day's allowance) and answers through
// GeocodeFinished.
function addressToLatLng(address) {
  if (host) host.Geocode(address);
}

function onGeocodeFinished(found, lat, lon) {
  if (!found || !map) return;
  panTo(lat, lon);
  clearMarker();
  createMapMarker(lat, lon);
}

function getCenter() {
  if (!map) return null;
  var center = wantedCenter || [map.getCenter().lat, map.getCenter().lng];
  if (host) {
    host.Latitude = center[0];
    host.Longitude = center[1];
  }
  return center;
}

function getZoom() {
  if (!map) return null;
  var zoom = map.getZoom();
  if (host) host.Zoom = zoom;
  return zoom;
}

function getMapTypeId() {
  if (host) host.MapTypeId = mapTypeId;
  return mapTypeId;
}

// What the page shows, for the window's checks.
function mapState() {
  if (!map) return null;
  var line = polyLine ? polyLine.getLatLngs().map(function (p) { return [p.lat, p.lng]; })
                      : speedLine ? speedLineVertices.slice() : null;
  var bounds = map.getBounds();
  return {
    markers: markers.map(function (m) { var p = m.getLatLng(); return [p.lat, p.lng]; }),
    line: line,
    trackEnds: trackEnds.map(function (m) {
      var p = m.getLatLng();
      return {kind: m.options.icon.options.className, at: [p.lat, p.lng]};
    }),
    lineStyle: polyLine ? {color: polyLine.options.color, opacity: polyLine.options.opacity, weight: polyLine.options.weight} : null,
    speedLine: speedLineState(),
    pending: pendingVertices.length,
    center: [map.getCenter().lat, map.getCenter().lng],
    bounds: [bounds.getSouth(), bounds.getNorth(), bounds.getWest(), bounds.getEast()],
    zoom: map.getZoom(),
    mapTypeId: mapTypeId,
    tileUrl: tileLayer ? tileLayer._url : '',
    attribution: map.attributionControl._container.textContent,
    hasHost: host !== null
  };
}

// ---- the outing's photographs ----
// Small pictures where the photographs were taken, on a layer of their own: a new line or marker
// leaves them where they are, and a click on one tells the host which it was.
var photoMarkers = [];

function photoIcon(photo) {
  // Built as elements, not as markup: a title is the file's name, whatever characters it holds.
  var frame = document.createElement('div');
  frame.className = 'photo-frame';
  frame.title = photo.title || '';
  if (photo.thumbnail) {
    var picture = document.createElement('img');
    picture.alt = '';
    picture.src = photo.thumbnail;
    frame.appendChild(picture);
  }
  return L.divIcon({className: 'map-photo', html: frame, iconSize: [52, 52], iconAnchor: [26, 60]});
}

// photos: [{lat, lon, title, thumbnail}, ...]; generation names the set in the host's clicks.
function setMapPhotos(generation, photos) {
  clearMapPhotos();
  if (!map) return;
  (photos || []).forEach(function (photo, index) {
    var marker = L.marker([photo.lat, photo.lon], {icon: photoIcon(photo), keyboard: false, riseOnHover: true});
    marker.on('click', function () {
      selectMapPhoto(index);
      if (host) host.PhotoClicked(generation, index);
    });
    photoMarkers.push(marker.addTo(map));
  });
}

function selectMapPhoto(index) {
  photoMarkers.forEach(function (marker, i) {
    var element = marker.getElement();
    if (element) element.classList.toggle('selected', i === index);
    marker.setZIndexOffset(i === index ? 2000 : 0);
  });
}

function clearMapPhotos() {
  photoMarkers.forEach(function (marker) {
    marker.remove();
  });
  photoMarkers = [];
}

// The photographs' markers as the page shows them, for the window's checks.
function photoState() {
  return photoMarkers.map(function (marker) {
    var p = marker.getLatLng();
    var element = marker.getElement();
    var picture = element ? element.querySelector('img') : null;
    var box = element ? element.getBoundingClientRect() : null;
    return {
      at: [p.lat, p.lng],
      title: element ? element.querySelector('.photo-frame').title : '',
      picture: picture ? picture.naturalWidth : 0,
      selected: element ? element.classList.contains('selected') : false,
      centre: box ? [box.left + box.width / 2, box.top + box.height / 2] : null
    };
  });
}
