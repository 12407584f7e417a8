// Links made with the code a file stored keep it; links made without one draw a new code.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/common/guid.h"
#include "core/model/link_data.h"

namespace hakuvo {
namespace {

TEST(LinkStoredCode, EveryLinkClassTakesTheStoredCodeAsItIs) {
  const std::string code = "{abcdef01-2345-4678-9ABC-DEF012345678}";  // mixed case stays as it is
  const std::vector<std::pair<std::unique_ptr<TGuidLink>, TLinkType>> links = [&] {
    std::vector<std::pair<std::unique_ptr<TGuidLink>, TLinkType>> made;
    made.emplace_back(std::make_unique<TFileLink>(TStoredGuidCode{code}), ltFile);
    made.emplace_back(std::make_unique<TViewFileLink>(TStoredGuidCode{code}), ltFile);
    made.emplace_back(std::make_unique<TImageFileLink>(TStoredGuidCode{code}), ltFile);
    made.emplace_back(std::make_unique<TGpsFileLink>(TStoredGuidCode{code}), ltFile);
    made.emplace_back(std::make_unique<TThingLink>(TStoredGuidCode{code}), ltThing);
    made.emplace_back(std::make_unique<TPersonLink>(TStoredGuidCode{code}), ltPerson);
    made.emplace_back(std::make_unique<TGuidLink>(TStoredGuidCode{""}), ltElse);  // a file may store it empty
    return made;
  }();
  for (const auto& [link, type] : links) {
    SCOPED_TRACE(typeid(*link).name());
    EXPECT_EQ(link->GuidCode(), type == ltElse ? "" : code);
    EXPECT_EQ(link->FindData(), link->GuidCode());
    EXPECT_EQ(link->LinkType(), type);
  }
  // The rest of a link made so is as a new link's.
  const TImageFileLink image{TStoredGuidCode{code}};
  EXPECT_EQ(image.RotateAngle, 0);
  EXPECT_EQ(image.FileName, "");
  const TGpsFileLink gps{TStoredGuidCode{code}};
  EXPECT_EQ(gps.StartPos, 0);
  EXPECT_EQ(gps.EndPos, 0);
  const TPersonLink person{TStoredGuidCode{code}};
  EXPECT_EQ(person.PhotoRotate(), 0);
  EXPECT_EQ(person.Latitude(), 0);
}

TEST(LinkStoredCode, LinksMadeWithoutACodeEachDrawANewOne) {
  std::set<std::string> codes;
  for (int i = 0; i < 50; ++i) {
    const TFileLink file;
    const TGpsFileLink gps;
    const TPersonLink person;
    for (const TGuidLink* link : {static_cast<const TGuidLink*>(&file), static_cast<const TGuidLink*>(&gps),
                                  static_cast<const TGuidLink*>(&person)}) {
      EXPECT_TRUE(IsGuidString(link->GuidCode())) << link->GuidCode();
      codes.insert(link->GuidCode());
    }
  }
  EXPECT_EQ(codes.size(), 150u);
}

}  // namespace
}  // namespace hakuvo
