// TSymbolRepository: a numbered list of named symbol styles with a backup
// copy, kept in a small XML file of its own:
//
//   <?xml version="1.0"?>
//
//   <!-- TGeoMap Landmark Repository / Korvane Suite -->
//   <lmsymbols sig="Korvane" vers="1.0" id="Roads">
//   <symbol element="Cross" name="Bridge" category="2" colorfg="00000000"
//           colorbg="000000FF" size="8" transp="FALSE" dir="90" leng="40" />
//   </lmsymbols>
//
// (one line per symbol, lines end in CR LF, text in Windows-1252; names and
// the identifier are escaped as XML text, so quotes and ampersands survive.)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geomap/symbols.h"
#include "platform/component.h"
#include "platform/textfile.h"

namespace ZELK_geomap {

class TSymbolRepository : public Platform::TComponent {
 public:
  explicit TSymbolRepository(Platform::TComponent* AOwner);
  ~TSymbolRepository() override;
  std::string ClassName() const override { return "TSymbolRepository"; }

  // Entries 1..NumEntries.
  int32_t NumEntries() const { return FNEntries; }
  // Exactly n entries: those held are kept up to n, new ones are zero
  // (kind lmPlus, numbers 0, no name). Negative n is ignored.
  void SetNEntries(int32_t n);
  // Entry ix; DefaultSymbolRecord() outside 1..NumEntries.
  TSymbol GetValues(int32_t ix) const;
  // Stores v as entry ix; ignored outside 1..NumEntries.
  void SetValues(int32_t ix, const TSymbol& v);

  // Every entry becomes DefaultSymbolRecord(); the count stays.
  void Clear();
  // Copies the entries into the backup, and back.
  void Backup();
  void Restore();
  // Copies entries and backup of another repository (each keeps its own
  // arrays); any other source as the platform does.
  void Assign(const Platform::TPersistent* Source) override;

  // Writes the file above, replacing any file of that name only once it is
  // complete. Raises EInOutError when the file cannot be created or
  // written; the file that was there then stays as it was.
  void StoreOnFile(const std::string& FName, const std::string& DataID) const;
  // False when the file cannot be opened; otherwise ReadFromOpenXMLFile.
  bool LoadFromFile(const std::string& FName, const std::string& DataID);
  // Reads on from the file's position to the first repository section whose
  // identifier is DataID (letter case and outer blanks ignored; "" takes the
  // first). False, and nothing changed, when there is none. Otherwise the
  // entries are replaced by every symbol element up to </geomap> or the end
  // of the file. Sizes and lengths are clamped to +-kMaxSymbolExtent.
  bool ReadFromOpenXMLFile(Platform::TTextFile& InFile, const std::string& DataID);

 protected:
  void AssignTo(Platform::TPersistent* Dest) const override;

 private:
  void WriteFile(const std::string& FName, const std::string& DataID) const;
  void Append(const TSymbol& s);
  bool InRange(int32_t ix) const { return ix >= 1 && ix <= FNEntries; }

  std::vector<TSymbol> FSymbols;     // room for the entries; grows in blocks of 1000
  std::vector<TSymbol> FSymbolsBak;  // the backup, FNEntriesBak entries
  int32_t FNEntries = 0;
  int32_t FNEntriesBak = 0;
};

}  // namespace ZELK_geomap
