// The map module's entry point (see gui/document/window_ports.h): the only symbol the program
// looks up in it.
#include "core/model/category_info_list.h"
#include "core/settings/app_data.h"
#include "gui/document/window_ports.h"
#include "gui/map/map_form.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) hakuvo::TMapWindow HakuvoCreateMapWindow(
    hakuvo::TAppData& appData, hakuvo::TCategoryInfoList& categoryInfoList, QWidget* parent) {
  auto* form = new hakuvo::TMapForm(appData, categoryInfoList, parent);
  return {form, form};
}

// The type the program calls it through must be the type it has.
static_assert(std::is_same_v<decltype(&HakuvoCreateMapWindow), hakuvo::TCreateMapWindow>);
