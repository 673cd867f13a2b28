// The camera model table: its shape, its invariants, and the look-ups by camera type and subtype.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "frame/tables/tables.h"
#include "tqvSDK.h"

namespace {

std::vector<tqvSModelInfo> Rows() {
  std::vector<tqvSModelInfo> rows;
  for (const tqvSModelInfo* row = tqvGetModelInfoTable(); row->modelName; ++row) {
    rows.push_back(*row);
  }
  return rows;
}

std::string NameOf(uint32_t (*fn)(uint32_t, char*, int32_t), uint32_t code) {
  char buffer[128];
  return fn(code, buffer, sizeof buffer) == TQV_OK ? buffer : "";
}

// The row after the last has no texts; configurations (and so part numbers) are unique.
TEST(ModelTable, EndRowAndUniqueConfigurations) {
  const std::vector<tqvSModelInfo> rows = Rows();
  ASSERT_GT(rows.size(), 100u);
  const tqvSModelInfo& end = tqvGetModelInfoTable()[rows.size()];
  EXPECT_TRUE(!end.subtypeName && !end.partNumber);
  std::set<std::tuple<int, int, int>> triples;
  for (const tqvSModelInfo& row : rows) {
    EXPECT_TRUE(triples.emplace(row.cameraType, row.subtype, row.pleoraBoardType).second)
        << row.partNumber;
  }
}

TEST(ModelTable, BandPassPairsComeFromTheAllowedSetAndFitTheDetector) {
  using Band = std::pair<double, double>;
  // Detector material: the bands it can deliver.
  const std::map<int, std::set<Band>> allowed = {
      {0, {{3.0, 5.0}, {3.2, 3.4}}},               // InSb, with a gas-imaging cold filter
      {1, {{0.9, 1.7}}},                           // InGaAs
      {2, {{0.4, 1.7}}},                           // VisGaAs
      {3, {{7.5, 10.5}}},                          // QWIP
      {4, {{2.7, 5.7}, {3.0, 5.0}, {7.5, 12.0}}},  // MCT
      {5, {{7.5, 12.0}}},                          // Bolometer
      {6, {{7.5, 10.5}}},                          // T2SLS
      {7, {{3.0, 5.0}}},                           // EpiAlloy
  };
  for (const tqvSModelInfo& row : Rows()) {
    ASSERT_TRUE(allowed.count(row.detectorType)) << row.partNumber;
    const Band band{row.bandpassLow, row.bandpassHigh};
    EXPECT_TRUE(allowed.at(row.detectorType).count(band)) << row.partNumber;
  }
}

TEST(ModelTable, GroupedByBoardAndCameraType) {
  std::set<std::pair<int, int>> finished;
  std::pair<int, int> current{-1, -1};
  for (const tqvSModelInfo& row : Rows()) {
    const std::pair<int, int> group{row.boardType, row.cameraType};
    if (group == current) continue;
    EXPECT_GE(group.first, current.first) << "boards in order";
    EXPECT_TRUE(finished.insert(group).second)
        << "board " << group.first << " camera type " << group.second << " split";
    current = group;
  }
}

// Codes are known, and texts agree with them: the model name begins with the camera type's name,
// the subtype name with the readout's format, the part number encodes the triple (a Pleora board
// above 2 has no letter) and the low-cost flag.
TEST(ModelTable, TextsAgreeWithCodes) {
  std::set<int> typesWithRows;
  for (const tqvSModelInfo& row : Rows()) {
    SCOPED_TRACE(row.partNumber);
    typesWithRows.insert(row.cameraType);
    EXPECT_LE(row.boardType, 6);
    for (uint8_t flag : {row.spare1, row.lowCost, row.automation, row.spare2})
      EXPECT_LE(flag, 1);
    ASSERT_NE(row.subtypeName, nullptr);
    EXPECT_NE(NameOf(tqvGetDetectorTypeName, row.detectorType).rfind("Unk(", 0), 0u);
    const std::string typeName = NameOf(tqvGetCameraTypeName, row.cameraType);
    EXPECT_EQ(std::string(row.modelName).rfind(typeName + " ", 0), 0u) << row.modelName;

    const std::string readout = NameOf(tqvGetReadoutName, row.readout);
    ASSERT_NE(readout.rfind("Unk(", 0), 0u);
    const std::string format =
        readout.substr(readout.find(' ') + 1, readout.find(',') - readout.find(' ') - 1);
    EXPECT_EQ(std::string(row.subtypeName).rfind(format + " ", 0), 0u) << row.subtypeName;

    ASSERT_LE(row.pleoraBoardType, 2);
    char expected[32];
    std::snprintf(expected, sizeof expected, "TQ%02u-%03u-%c%s", row.cameraType, row.subtype,
                  "PUG"[row.pleoraBoardType], row.lowCost ? "L" : "");
    EXPECT_STREQ(row.partNumber, expected);
  }
  EXPECT_EQ(typesWithRows, (std::set<int>{3, 4, 7, 9, 10, 11, 12, 13, 14, 16, 17, 20}));
}

TEST(ModelTable, LowCostModelsForTheFrameRateCap) {
  // The cap applies to camera types 11 and 16 only; both need low-cost models, among them a
  // readout-11 model (read as 640 columns) and a 320-column one.
  std::set<std::pair<int, int>> lowCost;  // camera type, readout
  for (const tqvSModelInfo& row : Rows()) {
    if (row.lowCost) lowCost.emplace(row.cameraType, row.readout);
  }
  for (auto [cameraType, readout] : lowCost)
    EXPECT_TRUE(cameraType == 11 || cameraType == 16);
  EXPECT_TRUE(lowCost.count({11, 11}));
  EXPECT_TRUE(lowCost.count({16, 3}));
}

TEST(ModelTable, PairsThatTheSimulatedCamerasReport) {
  for (auto [cameraType, subtype] : {std::pair{4, 2}, {3, 16}, {9, 1}}) {
    EXPECT_NE(tables::FindModel(cameraType, subtype), nullptr) << cameraType << "/" << subtype;
  }
}

TEST(ModelLookups, IsLowCostEx) {
  for (auto [cameraType, subtype, expected] :
       {std::tuple{3, 16, false}, {11, 1, true}, {16, 1, true}}) {
    bool lowCost = !expected;
    ASSERT_EQ(tqvGetIsLowCostEx(cameraType, subtype, &lowCost), TQV_OK);
    EXPECT_EQ(lowCost, expected) << cameraType << "/" << subtype;
  }

  for (auto [cameraType, subtype] : {std::pair{0, 0}, {3, 29}, {5, 1}, {255, 255}}) {
    bool untouched = true;
    EXPECT_EQ(tqvGetIsLowCostEx(cameraType, subtype, &untouched), TQV_ERROR);
    EXPECT_TRUE(untouched);
  }
  EXPECT_EQ(tqvGetIsLowCostEx(11, 1, nullptr), TQV_INVALID_ARGUMENT);
}

TEST(ModelLookups, FirstMatchingRowWins) {
  // (3, 16) has a PT1000 row before its GigE row.
  const tqvSModelInfo* row = tables::FindModel(3, 16);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->pleoraBoardType, 0);
  EXPECT_EQ(tables::FindModel(3, 16, 2)->pleoraBoardType, 2);
  EXPECT_EQ(tables::FindModel(3, 16, 1), nullptr);
  EXPECT_STREQ(tables::PartNumberFor(3, 16, 1), "unknown");
  EXPECT_STREQ(tables::PartNumberFor(0, 0, 0), "unknown");  // the end row is no match
}

}  // namespace
