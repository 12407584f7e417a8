#pragma once

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdlib>
#include <memory>

#include "core/model/category_info_list.h"
#include "core/settings/app_data.h"
#include "gui/map/map_form.h"
#include "gui/map/map_host.h"
#include "local_http_server.h"
#include "support/qt_application.h"
#include "support/temp_folder.h"

namespace hakuvo::test {

// The value of a script expression in the map's page, once the statements before it have run
// (an invalid value after 10 s without an answer).
inline QVariant EvalInPage(TMapForm& map, const QString& expression) {
  QVariant result;
  bool done = false;
  QEventLoop loop;
  map.Browser()->page()->runJavaScript(expression, [&](const QVariant& value) {
    result = value;
    done = true;
    loop.quit();
  });
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  if (!done) loop.exec();
  return result;
}

// A map window over a fresh settings object, its tiles and look-ups served from 127.0.0.1, and
// the statements it runs in its page kept in Calls.
// The application comes first: the test server's socket needs its event loop from the start.
struct WebEngineApplication {
  WebEngineApplication() {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    if (QCoreApplication::instance() == nullptr) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    EnsureQtApplication();
  }
};

class MapWindowTest : public ::testing::Test, private WebEngineApplication {
 protected:
  MapWindowTest() {
    appData.MapServiceInfo.Roadmap = {(server.BaseUrl() + QStringLiteral("/tiles/{z}/{x}/{y}.png")).toStdString(),
                                      "Local <tiles> & co"};
    appData.MapServiceInfo.GeocodeUrl = (server.BaseUrl() + QStringLiteral("/search")).toStdString();
    appData.MapServiceInfo.GeocodeTimeout = 3000;
    form = std::make_unique<TMapForm>(appData, *categories);
    form->SetScriptObserver([this](const QString& statement) { Calls << statement; });
    form->resize(640, 480);
  }

  // Shows the window and waits until its page has made the map and joined the web channel.
  void ShowAndLoad() {
    QSignalSpy loaded(form.get(), &TMapForm::MapLoaded);
    form->show();
    ASSERT_TRUE(loaded.count() > 0 || loaded.wait(30000)) << "the map page did not load";
    for (int i = 0; i < 100 && !Eval(QStringLiteral("host !== null")).toBool(); ++i) Pump(50);
    ASSERT_TRUE(Eval(QStringLiteral("host !== null")).toBool()) << "the page did not reach the host object";
  }

  // The value of a script expression in the page, once the statements before it have run.
  QVariant Eval(const QString& expression) { return EvalInPage(*form, expression); }

  // Shows a track link and waits until its worker's result is on the page.
  void ShowTrack(const TLinkData* link) {
    QSignalSpy shown(form.get(), &TMapForm::TrackShown);
    form->SetLinkData(link);
    ASSERT_TRUE(shown.count() > 0 || shown.wait(30000)) << "the track was not shown";
  }

  // What the page shows (mapState() of the page).
  QVariantMap State() { return Eval(QStringLiteral("mapState()")).toMap(); }

  static void Pump(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
  }

  TTempFolder folder;
  TLocalHttpServer server;
  TAppData appData{folder.Path()};
  std::unique_ptr<TCategoryInfoList> categories = TCategoryInfoList::CreateStandard();
  std::unique_ptr<TMapForm> form;
  QStringList Calls;
};

}  // namespace hakuvo::test
