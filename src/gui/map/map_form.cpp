#include "gui/map/map_form.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <memory>
#include <span>
#include <vector>

#include "core/common/number_format.h"
#include "core/gps/display_track.h"
#include "core/gps/gps_file.h"
#include "core/gps/jpeg_exif.h"
#include "core/gps/map_speed_line.h"
#include "core/gps/map_track.h"
#include "core/links/file_kind.h"
#include "core/model/category_info.h"
#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "core/model/map_info.h"
#include "core/model/place.h"
#include "core/settings/app_data.h"
#include "gui/common/wait_cursor.h"
#include "gui/map/map_host.h"
#include "gui/map/map_script.h"
#include "gui/map/place_dialog.h"

// The page is compiled into this static library; nothing refers to its resources by symbol,
// so they are registered by hand before the first page loads.
static void InitMapPageResources() {
  static const bool done = [] {
    Q_INIT_RESOURCE(map_page);
    return true;
  }();
  (void)done;
}

namespace hakuvo {

namespace {

// A failing call is skipped: the page stays as it was.
QString Guarded(const QString& statement) {
  return QStringLiteral("try{") + statement + QStringLiteral(";}catch(e){}");
}

// Statements run as one script, each skipped alone when it fails.
QString GuardedScript(const QStringList& statements) {
  qsizetype size = 0;
  for (const QString& statement : statements) size += statement.size() + 16;
  QString script;
  script.reserve(size);
  for (const QString& statement : statements) script += Guarded(statement);
  return script;
}

// The line and the markers off the page.
QStringList ClearingStatements() {
  return {JsCall(QStringLiteral("clearPolyLine")), JsCall(QStringLiteral("clearMarker"))};
}

QString Hex6(int rgb) { return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')); }

// The page draws a line coloured by speed from the scale's colours and labels its legend.
QString SpeedLineCall(const TMapSpeedLine& speedLine, const TMapInfo& line) {
  QStringList colors;
  for (int bin = 0; bin < MapSpeedColorCount; ++bin) colors << JsString(Hex6(MapSpeedColor(bin)));
  QStringList labels;
  for (const std::string& label : speedLine.LegendLabels()) labels << JsString(QString::fromStdString(label));
  const QString legend = QStringLiteral("{title:%1,labels:[%2]}")
                             .arg(JsString(QStringLiteral("速度 (km/h)")), labels.join(QLatin1Char(',')));
  return JsCall(QStringLiteral("drawSpeedLine"),
                {JsString(Hex6(line.LineColorHtml())), JsNumber(line.LineOpacity()), QString::number(line.LineWidth()),
                 QLatin1Char('[') + colors.join(QLatin1Char(',')) + QLatin1Char(']'), legend});
}

}  // namespace

const QUrl& TMapForm::PageUrl() {
  static const QUrl url(QStringLiteral("qrc:///map/map.html"));
  return url;
}

TMapForm::TMapForm(TAppData& appData, TCategoryInfoList& categoryInfoList, QWidget* parent)
    : TDockingForm(QStringLiteral("GoogleMapForm"), QStringLiteral("地図"), parent),
      FAppData(appData),
      FCategoryInfoList(categoryInfoList),
      FHost(new TMapHost(this)) {
  InitMapPageResources();
  FHost->SetCaptionWidget(this);
  const TMapDefaultInfo& defaults = FAppData.ChildWindowInfo.MapDefaultInfo;
  FHost->SetZoom(defaults.Zoom());
  FHost->SetMapTypeId(QString::fromStdString(defaults.MapType()));
  connect(FHost, &TMapHost::GeocodeRequested, this, &TMapForm::Geocode);
  connect(FHost, &TMapHost::PhotoMarkerClicked, this, &TMapForm::OnPhotoMarkerClicked);
  FGeocoder = new TGeocoder(this);
  connect(FGeocoder, &TGeocoder::Finished, this, &TMapForm::OnGeocodeFinished);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

TMapForm::~TMapForm() {
  // The page may answer a part handed over while it goes; nobody is there to hand on the next.
  CancelHandover();
  // A worker still reading a track finishes first; nobody takes its result.
  for (QThread* worker : FWorkers) {
    worker->wait();
    delete worker;
  }
  if (!FWorkers.empty()) QGuiApplication::restoreOverrideCursor();
}

double TMapForm::Latitude() const { return FHost->Latitude(); }
double TMapForm::Longitude() const { return FHost->Longitude(); }
int TMapForm::Zoom() const { return FHost->Zoom(); }
QString TMapForm::MapTypeId() const { return FHost->MapTypeId(); }
QString TMapForm::Location() const { return FHost->Location(); }
void TMapForm::SetLocation(const QString& address) { FHost->SetLocation(address); }

void TMapForm::SetCategory(const std::string& category) {
  FCategory = category;
  FCategoryType = CategoryTypeFromName(category);
}

bool TMapForm::IsPageReady() const { return FBrowser != nullptr && FIsLoadMap && isVisible(); }

// ---- the browser and its page ----

void TMapForm::showEvent(QShowEvent* event) {
  TDockingForm::showEvent(event);
  if (FBrowser == nullptr) {
    CreateBrowser();
    return;
  }
  if (FIsLoadMap) {
    ShowAgain();
  } else if (FIsPageLoaded) {
    // The page finished loading while the window was hidden: the map is made now.
    LoadMap();
    emit MapLoaded();
  }
}

void TMapForm::CreateBrowser() {
  FIsLoadMap = false;
  FBrowser = new QWebEngineView(this);
  FBrowser->setAcceptDrops(false);
  FBrowser->setContextMenuPolicy(Qt::NoContextMenu);
  QWebEngineSettings* settings = FBrowser->page()->settings();
  // The page is local; its tiles come from the tile servers of the settings.
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  FChannel = new QWebChannel(FBrowser->page());
  FChannel->registerObject(QStringLiteral("host"), FHost);
  FBrowser->page()->setWebChannel(FChannel);
  connect(FBrowser, &QWebEngineView::loadFinished, this, &TMapForm::OnLoadFinished);
  layout()->addWidget(FBrowser);

  // The corner spot that opens the external map: four pixels in the window's own colour.
  FExternalSpot = new QPushButton(this);
  FExternalSpot->setObjectName(QStringLiteral("ExternalMapSpot"));
  FExternalSpot->setFlat(true);
  FExternalSpot->setFocusPolicy(Qt::NoFocus);
  FExternalSpot->setGeometry(0, 0, 4, 4);
  FExternalSpot->setAutoFillBackground(true);
  FExternalSpot->setCursor(Qt::PointingHandCursor);
  connect(FExternalSpot, &QPushButton::clicked, this, &TMapForm::OpenExternalMap);
  FExternalSpot->raise();
  FExternalSpot->show();

  FBrowser->load(PageUrl());
}

void TMapForm::OnLoadFinished(bool ok) {
  FIsPageLoaded = ok;
  if (!ok) {
    // The page is ours and local: a failed load leaves an empty window, with nothing to report.
    FIsLoadMap = false;
    return;
  }
  if (!isVisible()) return;
  LoadMap();
  emit MapLoaded();
}

void TMapForm::LoadMap() {
  const TMapDefaultInfo& defaults = FAppData.ChildWindowInfo.MapDefaultInfo;
  const QString type = JsString(QString::fromStdString(defaults.MapType()));
  FIsLoadMap = true;
  RunScript(JsCall(QStringLiteral("setTileSources"), {JsTileSources(FAppData.MapServiceInfo)}));
  const double latitude = Latitude();
  const double longitude = Longitude();
  if (latitude != 0 || longitude != 0) {
    RunScript(JsCall(QStringLiteral("loadMap"), {JsString(QStringLiteral("map_canvas")), JsNumber(latitude),
                                                 JsNumber(longitude), QString::number(defaults.Zoom()), type}));
    CreateMarker(latitude, longitude, true);
  } else {
    RunScript(
        JsCall(QStringLiteral("loadMap"), {JsString(QStringLiteral("map_canvas")), JsNumber(defaults.Latitude()),
                                           JsNumber(defaults.Longitude()), QString::number(defaults.Zoom()), type}));
  }
  FHost->SetZoom(defaults.Zoom());
  FHost->SetMapTypeId(QString::fromStdString(defaults.MapType()));
  ShowAgain();
}

void TMapForm::ShowAgain() {
  if (FLinkData != nullptr) {
    ShowLinkData();
  } else if (Latitude() != 0 && Longitude() != 0) {
    PanTo(Latitude(), Longitude(), true);
    CreateMarker(Latitude(), Longitude(), true);
  }
  ShowPhotos();
}

void TMapForm::RunScripts(const QStringList& statements, const QString& script) {
  if (FBrowser == nullptr) return;
  if (FScriptObserver) {
    for (const QString& statement : statements) FScriptObserver(statement);
  }
  FBrowser->page()->runJavaScript(script.isEmpty() ? GuardedScript(statements) : script);
}

void TMapForm::RunScript(const QString& statement, const std::function<void(const QVariant&)>& done) {
  if (FBrowser == nullptr) return;
  if (FScriptObserver) FScriptObserver(statement);
  if (done) {
    FBrowser->page()->runJavaScript(Guarded(statement), done);
  } else {
    FBrowser->page()->runJavaScript(Guarded(statement));
  }
}

// ---- what the other windows ask for ----

void TMapForm::PanTo(double latitude, double longitude, bool isClear) {
  FHost->SetLatitude(latitude);
  FHost->SetLongitude(longitude);
  if (!IsPageReady()) return;
  if (isClear) Clear();
  RunScript(JsCall(QStringLiteral("panTo"), {JsNumber(latitude), JsNumber(longitude)}));
}

void TMapForm::CreateMarker(double latitude, double longitude, bool isClear) {
  PanTo(latitude, longitude, isClear);
  if (!IsPageReady()) return;
  RunScript(JsCall(QStringLiteral("createMapMarker"), {JsNumber(latitude), JsNumber(longitude)}));
}

void TMapForm::Clear() {
  // The rest of a line still being handed over would otherwise come back after the clearing.
  CancelHandover();
  if (!IsPageReady()) return;
  RunScripts(ClearingStatements());
}

void TMapForm::ClearMap() {
  // The link belongs to the caller, who may free it once the map is cleared; a track still being
  // read for it is not drawn.
  FLinkData = nullptr;
  ++FTrackGeneration;
  Clear();
  ClearPhotos();
}

void TMapForm::SetLinkData(const TLinkData* link) {
  FLinkData = link;
  if (isVisible() && FBrowser != nullptr) ShowLinkData();
}

void TMapForm::GpsRangeChanged() {
  if (dynamic_cast<const TGpsFileLink*>(FLinkData) != nullptr && isVisible()) ShowLinkData();
}

void TMapForm::ShowLinkData() {
  if (FLinkData == nullptr || !IsPageReady()) return;
  // Whatever was being read or handed over for the link before is not drawn now.
  ++FTrackGeneration;
  CancelHandover();
  if (const auto* image = dynamic_cast<const TImageFileLink*>(FLinkData)) {
    if (!IsJpegFile(image->FileName)) return;
    double latitude = 0;
    double longitude = 0;
    TWaitCursor wait;
    if (ExifPosition(image->FileName, latitude, longitude)) {
      PanTo(latitude, longitude, true);
      CreateMarker(latitude, longitude, true);
    }
  } else if (const auto* track = dynamic_cast<const TGpsFileLink*>(FLinkData)) {
    DrawTrack(*track);
  }
}

// Reading a track, choosing its vertices and writing them out take long for a big track: a worker
// does it, so the window keeps answering; the page gets the result when it is ready, unless
// another link was shown meanwhile.
struct TMapForm::TPreparedTrack {
  bool IsDrawn = false;
  // The line's vertices, each part an addPolyLineVertices call of at most TrackChunkVertices
  // (20,000 unless set: a few milliseconds of the window's thread each).
  // A million vertices make a script of tens of megabytes, and handing that to the page in one
  // call holds the window's thread for a fifth of a second; in parts, the window's events run
  // between them.
  std::vector<QString> Parts;
  QString Draw;
  QString Fit;
  // A line of one part goes to the page as one script with the clearing before it: one trip
  // instead of several, and written on the worker rather than on the window's thread. Its
  // statements one by one are kept only for a script observer.
  QStringList Statements;
  QString Script;
  // The vertices' text as it is written.
  std::string Text;
};

// A line on its way to the page. Two parts are out at a time: the page parses one while the
// next is on its way, and the window's thread never holds more than one part's worth of work.
struct TMapForm::THandover {
  static constexpr int MaxInFlight = 2;
  std::shared_ptr<const TPreparedTrack> Track;
  std::size_t Next = 0;
  int InFlight = 0;
  bool IsFinished = false;
  bool IsCancelled = false;
};

void TMapForm::DrawTrack(const TGpsFileLink& link) {
  const int generation = ++FTrackGeneration;
  auto source = std::make_shared<TGpsFileLink>();
  source->Assign(link);
  TMapInfo line;
  if (const TCategoryInfo* info = FCategoryInfoList.GetCategoryItems(FCategoryType)) line.Assign(info->MapInfo());
  const auto partSize = static_cast<std::size_t>(FTrackChunkVertices);
  auto prepared = std::make_shared<TPreparedTrack>();
  // The buffers of the last line drawn are written over: a fresh buffer of a megabyte costs a
  // page fault every four kilobytes on its first touch, which is more than writing the text.
  prepared->Text = std::move(FTextBuffer);
  prepared->Script = std::move(FScriptBuffer);
  // The statements one by one only for whoever watches them.
  const bool observed = static_cast<bool>(FScriptObserver);
  QThread* worker = QThread::create([source, line, partSize, observed, prepared] {
    std::unique_ptr<TGpsFile> track;
    try {
      track = LoadDisplayTrack(*source);
    } catch (const std::exception&) {
      // An unreadable track leaves the map cleared, without a message.
      track.reset();
    }
    if (track == nullptr || track->GpsList.Count() == 0) return;
    const std::vector<int> vertices = MapLineVertices(*track, line.LimitSpeed());
    TMapSpeedLine speedLine;
    if (line.IsSpeedColor()) speedLine = MapSpeedLine(*track, vertices, line.LimitSpeed());
    const bool isColored = speedLine.IsColored();
    const std::span<const int> all(isColored ? speedLine.Vertices : vertices);
    const std::span<const int> bins(speedLine.Bins);
    const bool isWhole = all.size() <= partSize;
    std::string& text = prepared->Text;
    for (std::size_t first = 0; first < all.size(); first += partSize) {
      const std::size_t size = std::min(partSize, all.size() - first);
      text.clear();
      text += "addPolyLineVertices(";
      AppendVertexArray(text, *track, all.subspan(first, size));
      if (isColored) {
        text += ',';
        AppendIntArray(text, bins.subspan(first, size));
      }
      text += ')';
      if (!isWhole || observed) prepared->Parts.push_back(QString::fromLatin1(text.data(), qsizetype(text.size())));
    }
    // The view takes in every point read, also those left out of the line.
    track->GpsList.CalcLimit();
    const TGpsDataList& points = track->GpsList;
    prepared->Draw = isColored ? SpeedLineCall(speedLine, line)
                               : JsCall(QStringLiteral("drawPolyLine"),
                                        {JsString(Hex6(line.LineColorHtml())), JsNumber(line.LineOpacity()),
                                         QString::number(line.LineWidth())});
    prepared->Fit =
        JsCall(QStringLiteral("mapFitBounds"), {JsNumber(points.MinLatitude()), JsNumber(points.MaxLatitude()),
                                                JsNumber(points.MinLongitude()), JsNumber(points.MaxLongitude())});
    if (isWhole) {
      // Written straight into one buffer: a line's text is large, and each copy of it costs.
      const QStringList clearing = ClearingStatements();
      QString& script = prepared->Script;
      script.resize(0);  // keeps what it holds
      script.reserve(static_cast<qsizetype>(text.size()) + 1024);
      for (const QString& statement : clearing) script += Guarded(statement);
      script += QLatin1String("try{");
      script += QLatin1String(text.data(), static_cast<qsizetype>(text.size()));
      script += QLatin1String(";}catch(e){}");
      script += Guarded(prepared->Draw);
      script += Guarded(prepared->Fit);
      if (observed)
        prepared->Statements = clearing + QStringList{prepared->Parts.front(), prepared->Draw, prepared->Fit};
    }
    prepared->IsDrawn = true;
  });
  FWorkers.insert(worker);
  if (FWorkers.size() == 1) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  connect(worker, &QThread::finished, this, [this, worker, generation, prepared] {
    FWorkers.erase(worker);
    worker->deleteLater();
    if (FWorkers.empty()) QGuiApplication::restoreOverrideCursor();
    if (generation == FTrackGeneration) ShowPreparedTrack(prepared);
    // The page has its own copy of the script by now: the buffers serve the next line.
    if (prepared->Text.capacity() > FTextBuffer.capacity()) FTextBuffer = std::move(prepared->Text);
    if (prepared->Script.capacity() > FScriptBuffer.capacity()) FScriptBuffer = std::move(prepared->Script);
  });
  worker->start();
}

void TMapForm::ShowPreparedTrack(const std::shared_ptr<const TPreparedTrack>& prepared) {
  if (!prepared->IsDrawn || !IsPageReady()) {
    Clear();
    emit TrackShown();
    return;
  }
  CancelHandover();
  if (prepared->Parts.size() <= 1 && !prepared->Script.isEmpty()) {
    RunScripts(prepared->Statements, prepared->Script);
    emit TrackShown();
    return;
  }
  // Clearing also drops the vertices the page still gathers from an earlier line.
  RunScripts(ClearingStatements());
  // A copy of its own: the hand-over may end, and FHandover be reset, before this returns.
  const auto handover = std::make_shared<THandover>();
  handover->Track = prepared;
  FHandover = handover;
  HandOverNext(handover);
}

void TMapForm::HandOverNext(const std::shared_ptr<THandover>& handover) {
  const TPreparedTrack& track = *handover->Track;
  while (handover->InFlight < THandover::MaxInFlight && handover->Next < track.Parts.size()) {
    ++handover->InFlight;
    // The page's answer comes through the event loop; by then a newer track, a clearing or the
    // window's end may have cancelled the rest, and the window may be gone.
    RunScript(track.Parts[handover->Next++], [this, handover](const QVariant&) {
      if (handover->IsCancelled || handover->IsFinished) return;
      --handover->InFlight;
      if (!IsPageReady()) {
        // Hidden meanwhile: the line is drawn again from the start when the window shows.
        CancelHandover();
        return;
      }
      HandOverNext(handover);
    });
  }
  if (handover->Next < track.Parts.size()) return;
  // The page runs the calls in order: the drawing comes after the last part, whether or not
  // the page has answered for it yet.
  handover->IsFinished = true;
  FHandover.reset();
  RunScript(track.Draw);
  RunScript(track.Fit);
  emit TrackShown();
}

void TMapForm::CancelHandover() {
  if (FHandover == nullptr) return;
  FHandover->IsCancelled = true;
  FHandover.reset();
}

// ---- looking addresses up ----

void TMapForm::PanToLocation() {
  if (!IsPageReady()) return;
  // One look-up per call: the page cannot start look-ups the caller has not counted.
  ++FGeocodeGrants;
  RunScript(JsCall(QStringLiteral("addressToLatLng"), {JsString(Location())}));
}

void TMapForm::Geocode(const QString& address) {
  if (FGeocodeGrants <= 0) {
    emit FHost->GeocodeFinished(false, Latitude(), Longitude());
    return;
  }
  --FGeocodeGrants;
  // A look-up the place dialog is waiting for is not the page's to take over.
  if (FGeocoder->IsBusy()) {
    emit FHost->GeocodeFinished(false, Latitude(), Longitude());
    return;
  }
  FPageLookUp = true;
  FGeocoder->Start(FAppData.MapServiceInfo.GeocodeUrl, address, FAppData.MapServiceInfo.GeocodeTimeout);
}

void TMapForm::OnGeocodeFinished(const TGeocodeAnswer& answer) {
  const bool found = answer.Status == gsFound;
  if (found) {
    FHost->SetLatitude(answer.Latitude);
    FHost->SetLongitude(answer.Longitude);
  }
  // The page hears only of its own look-ups; the place dialog's answer moves the map too.
  if (FPageLookUp) emit FHost->GeocodeFinished(found, FHost->Latitude(), FHost->Longitude());
  FPageLookUp = false;
  emit GeocodeFinished(found);
}

// ---- the place dialog ----

bool TMapForm::EditPlace(QWidget* parent, TPlace& place) {
  TPlaceDialog dialog(parent);
  dialog.SetMapForm(this);
  dialog.SetAppData(&FAppData);
  dialog.AddressEdit()->setText(QString::fromStdString(place.Address));
  dialog.LatitudeEdit()->setText(QString::fromStdString(FormatGeneral(place.Latitude)));
  dialog.LongitudeEdit()->setText(QString::fromStdString(FormatGeneral(place.Longitude)));
  const int result = FPlaceDialogRunner ? FPlaceDialogRunner(dialog) : dialog.exec();
  if (result != QDialog::Accepted) return false;
  // The dialog let OK through only with two numbers in range.
  place.Address = dialog.AddressEdit()->text().toStdString();
  TryParseNumber(dialog.LatitudeEdit()->text().toStdString(), place.Latitude);
  TryParseNumber(dialog.LongitudeEdit()->text().toStdString(), place.Longitude);
  return true;
}

// ---- the external map ----

void TMapForm::OpenExternalMap() {
  if (FBrowser == nullptr || !FIsLoadMap) return;
  FBrowser->page()->runJavaScript(
      QStringLiteral("(function(){try{return [getCenter(),getZoom(),getMapTypeId()];}catch(e){return null;}})()"),
      [this](const QVariant& result) {
        const QVariantList view = result.toList();
        if (view.size() == 3) {
          const QVariantList center = view.at(0).toList();
          if (center.size() == 2) {
            FHost->SetLatitude(center.at(0).toDouble());
            FHost->SetLongitude(center.at(1).toDouble());
          }
          if (!view.at(1).isNull()) FHost->SetZoom(view.at(1).toInt());
          FHost->SetMapTypeId(view.at(2).toString());
        }
        const QUrl address(QString::fromStdString(ExternalMapAddress(FAppData.MapServiceInfo.ExternalMapUrl, Latitude(),
                                                                     Longitude(), Zoom(), MapTypeId().toStdString())));
        if (FUrlOpener) {
          FUrlOpener(address);
        } else {
          QDesktopServices::openUrl(address);
        }
      });
}

}  // namespace hakuvo
