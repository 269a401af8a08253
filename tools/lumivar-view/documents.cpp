#include "tools/lumivar-view/documents.h"

#include <algorithm>
#include <filesystem>

namespace lumivar_view {

namespace {

// Runs a load, turning the library's errors into the viewer's.
template <class F>
auto Loading(const std::string& File, F&& Load) -> decltype(Load()) {
  try {
    return Load();
  } catch (const ViewerError&) {
    throw;
  } catch (const std::exception& e) {
    throw ViewerError(File + ": " + e.what());
  }
}

}  // namespace

std::unique_ptr<ZELK_geomap::TGeoMap> OpenMapControl(const std::string& CalFile) {
  return Loading(CalFile, [&] {
    if (!Platform::FileExists(CalFile)) throw ViewerError(CalFile + ": no such file");
    auto map = std::make_unique<ZELK_geomap::TGeoMap>(nullptr);
    map->SetSuppressPaint(true);
    const std::string dir = Platform::ExtractFilePath(CalFile);
    map->SetOnMapImageRequest([dir](Platform::TObject*, std::string& name) {
      if (!Platform::FileExists(name) &&
          Platform::FileExists(dir + Platform::ExtractFileName(name)))
        name = dir + Platform::ExtractFileName(name);
    });
    if (!map->LoadCalDataFromXML(CalFile, ""))
      throw ViewerError(CalFile + ": the file holds no calibration, or cannot be read");
    const std::string image = map->CalibData().MapFName;
    if (map->MapImgWidth() <= 0 || map->MapImgHeight() <= 0)
      throw ViewerError(CalFile + ": the map image '" + image + "' was not found");
    map->SetSuppressPaint(false);
    return map;
  });
}

std::vector<std::string> CalibrationFilesIn(const std::string& Dir) {
  std::error_code ec;
  std::filesystem::directory_iterator it(Dir, ec);
  if (ec) throw ViewerError(Dir + ": " + ec.message());
  std::vector<std::string> files;
  for (const auto& entry : it) {
    const std::string name = entry.path().string();
    if (entry.is_regular_file(ec) &&
        Platform::LowerCaseUtf8(Platform::ExtractFileExt(name)) == ".xml")
      files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::unique_ptr<ZELK_geoatlas::TGeoAtlas> OpenAtlasControl(const std::string& Dir,
                                                           std::vector<std::string>& Skipped) {
  auto atlas = std::make_unique<ZELK_geoatlas::TGeoAtlas>(nullptr);
  for (const std::string& file : CalibrationFilesIn(Dir)) {
    try {
      if (!atlas->RegisterMap(file))
        Skipped.push_back(file + ": no calibration, or the atlas is full");
    } catch (const std::exception& e) {
      Skipped.push_back(file + ": " + e.what());
    }
  }
  if (atlas->NumRegMaps() == 0) throw ViewerError(Dir + ": no calibrated map in this directory");
  // the overview first: the map of the coarsest resolution
  int32_t coarsest = 1;
  for (int32_t i = 2; i <= atlas->NumRegMaps(); ++i)
    if (atlas->GetMapDef(i).Resolution > atlas->GetMapDef(coarsest).Resolution) coarsest = i;
  if (!atlas->SelectMap(coarsest))
    throw ViewerError(atlas->GetMapDef(coarsest).OpenedFName + ": the map cannot be loaded");
  return atlas;
}

std::vector<ZELK_geomap::TLandMark> ReadLandmarkFile(const std::string& File,
                                                     const std::string& DataID) {
  return Loading(File, [&] {
    std::vector<ZELK_geomap::TLandMark> marks;
    const bool found = ZELK_geomap::ReadLandMarksFromFile(
        File, DataID, [&](const ZELK_geomap::TLandMark& lm) { marks.push_back(lm); });
    if (!found)
      throw ViewerError(File + ": no landmark section" +
                        (DataID.empty() ? std::string() : " with the identifier '" + DataID + "'") +
                        ", or the file cannot be read");
    return marks;
  });
}

void ShowLandmarks(ZELK_geomap::TGeoMap& Map, const std::vector<ZELK_geomap::TLandMark>& Marks) {
  const bool suppressed = Map.SuppressPaint();
  Map.SetSuppressPaint(true);
  Map.RemoveAllLandMarks();
  for (const ZELK_geomap::TLandMark& lm : Marks) Map.AddLandMark(lm);
  Map.SetSuppressPaint(suppressed);  // paints once, unless the map suppresses paints
}

std::unique_ptr<ZELK_geomap::TSymbolRepository> OpenSymbolRepository(const std::string& File) {
  return Loading(File, [&] {
    auto repository = std::make_unique<ZELK_geomap::TSymbolRepository>(nullptr);
    if (!repository->LoadFromFile(File, ""))
      throw ViewerError(File + ": no symbol repository, or the file cannot be read");
    return repository;
  });
}

}  // namespace lumivar_view
