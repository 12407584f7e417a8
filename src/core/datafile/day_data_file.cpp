#include "core/datafile/day_data_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"
#include "core/common/large_block_allocator.h"
#include "core/common/safe_file_writer.h"
#include "core/common/utf16.h"
#include "core/datafile/day_data_reader.h"
#include "core/datafile/day_data_xml.h"

namespace hakuvo {

namespace {

class TStringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, std::size_t size) override { Text.append(static_cast<const char*>(data), size); }
  std::string Text;
};

// Hands pugixml's output on to the file as it comes. A failure is kept and raised once pugixml
// is back: an exception is not thrown through the library's code.
class TSaveOutputWriter : public pugi::xml_writer {
 public:
  explicit TSaveOutputWriter(TSaveOutput& output) : FOutput(output) {}
  void write(const void* data, std::size_t size) override {
    if (FFailure) return;
    try {
      FOutput.Write(std::string_view(static_cast<const char*>(data), size));
    } catch (...) {
      FFailure = std::current_exception();
    }
  }
  void RethrowFailure() const {
    if (FFailure) std::rethrow_exception(FFailure);
  }

 private:
  TSaveOutput& FOutput;
  std::exception_ptr FFailure;
};

const char* ParseProblem(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_ok:
      return "";
    case pugi::status_out_of_memory:
      return "メモリが足りません";
    case pugi::status_no_document_element:
      return "要素がひとつもありません";
    case pugi::status_unrecognized_tag:
    case pugi::status_bad_start_element:
      return "開始タグが正しくありません";
    case pugi::status_bad_end_element:
      return "終了タグが正しくありません";
    case pugi::status_end_element_mismatch:
      return "終了タグが開始タグと対応していません (ファイルが途中で切れている可能性があります)";
    case pugi::status_bad_attribute:
      return "属性が正しくありません";
    case pugi::status_bad_pi:
      return "処理命令が正しくありません";
    case pugi::status_bad_comment:
      return "コメントが正しくありません";
    case pugi::status_bad_cdata:
      return "CDATA セクションが正しくありません";
    case pugi::status_bad_doctype:
      return "文書型宣言が正しくありません";
    case pugi::status_bad_pcdata:
      return "文字データが正しくありません";
    default:
      return "読み込めません";
  }
}

// pugixml's defaults, and text beside the root element kept as nodes instead of dropped unseen,
// so that a file with more than its root element is refused rather than cut at the next save.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_fragment;

// A file's bytes in a buffer that is not cleared first: the parser writes over it anyway. A
// large one lies in huge pages: the kernel then copies the file in without a page fault every
// 4 KiB, which was a tenth of a load.
class TFileBytes {
 public:
  explicit TFileBytes(std::size_t capacity)
      : FData(static_cast<char*>(TLargeBlockAllocator<char>().allocate(capacity))), FCapacity(capacity) {}
  TFileBytes(const TFileBytes&) = delete;
  TFileBytes& operator=(const TFileBytes&) = delete;
  ~TFileBytes() { TLargeBlockAllocator<char>().deallocate(FData, FCapacity); }

  char* Data() const { return FData; }
  std::size_t Capacity() const { return FCapacity; }
  // Twice the room, the bytes read so far kept.
  void Grow() {
    TFileBytes larger(FCapacity * 2);
    std::memcpy(larger.FData, FData, Size);
    std::swap(FData, larger.FData);
    std::swap(FCapacity, larger.FCapacity);
  }

  std::size_t Size = 0;

 private:
  char* FData;
  std::size_t FCapacity;
};

// The whole file, with the system's reason when it cannot be had.
std::unique_ptr<TFileBytes> ReadWholeFile(const std::string& fileName) {
  const auto fail = [&](int error) { throw FileReadError("データファイル", fileName, error); };
  TInputFile file;
  int error = 0;
  if (!file.Open(fileName, error)) fail(error);
  // One byte more than the size, so that the end is seen without growing a buffer this large.
  auto bytes = std::make_unique<TFileBytes>(static_cast<std::size_t>(file.Size()) + 1);
  for (;;) {
    if (bytes->Size == bytes->Capacity()) bytes->Grow();  // the file grew
    const std::ptrdiff_t got = file.Read(bytes->Data() + bytes->Size, bytes->Capacity() - bytes->Size);
    if (got < 0) fail(errno);
    if (got == 0) break;
    bytes->Size += static_cast<std::size_t>(got);
  }
  return bytes;
}

// Whether the character reference at `at` ("&#") may stand for a byte escape (U+10FF00 to
// U+10FFFF). Anything but a plain reference to another character counts as "may".
bool MayBeEscapeReference(std::string_view bytes, std::size_t at) {
  std::size_t i = at + 2;
  const bool hex = i < bytes.size() && (bytes[i] == 'x' || bytes[i] == 'X');
  if (hex) ++i;
  const std::size_t first = i;
  std::uint32_t value = 0;
  for (; i < bytes.size() && bytes[i] != ';'; ++i) {
    const char c = bytes[i];
    int digit = -1;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    }
    if (digit < 0) return true;
    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    if (value > 0x10FFFF) return true;
  }
  return i == first || i == bytes.size() || value >= 0x10FF00;
}

// Whether any attribute may hold a byte escape (see EscapeToUtf8Text): as UTF-8 in the file, or
// written as a character reference by another tool. Almost never, so the walk is saved; the line
// breaks of memos, written as references, are told apart from escapes without it.
bool MayHoldEscapes(std::string_view bytes) {
  if (MayHoldByteEscapes(bytes)) return true;
  for (std::size_t at = bytes.find("&#"); at != std::string_view::npos; at = bytes.find("&#", at + 2)) {
    if (MayBeEscapeReference(bytes, at)) return true;
  }
  return false;
}

// Gives every attribute its original bytes back. Walked without recursion: a hostile file may
// nest elements deeper than the stack would allow.
void UnescapeAttributes(const pugi::xml_document& document) {
  pugi::xml_node node = document.first_child();
  while (node) {
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
      const std::string_view value = a.value();
      if (MayHoldByteEscapes(value)) {
        const std::string original = UnescapeUtf8Text(value);
        a.set_value(original.c_str(), original.size());
      }
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && !node.next_sibling()) node = node.parent();
    if (node) node = node.next_sibling();
  }
}

}  // namespace

void TDayDataFile::CheckObjects() const {
  if (FDayDataList == nullptr || FCategoryInfoList == nullptr || FThingList == nullptr || FPersonList == nullptr ||
      FFileList == nullptr || FMultiDayGraphInfo == nullptr || FMultiDayGraphInfo2 == nullptr ||
      FChildWindowInfo == nullptr) {
    throw std::logic_error("TDayDataFile: every diary object must be given before Save or Load");
  }
}

TDayDataSources TDayDataFile::Sources() const {
  CheckObjects();
  return TDayDataSources{*FDayDataList,        *FCategoryInfoList,  FFileList->List(),
                         FThingList->List(),   FPersonList->List(), *FMultiDayGraphInfo,
                         *FMultiDayGraphInfo2, *FChildWindowInfo,   FView};
}

std::string TDayDataFile::SaveToString() const {
  const TDayDataSources sources = Sources();
  TStringWriter writer;
  writer.Text.reserve(EstimatedDocumentSize(sources));
  WriteDayDataDocument(sources, writer);
  return std::move(writer.Text);
}

void TDayDataFile::Save() const {
  // The text goes straight into the temporary file as it is made, never whole into memory, and
  // the file is replaced in one step once all of it is there.
  const TDayDataSources sources = Sources();
  WriteFileAtomically(FFileName, [&sources](TSaveOutput& output) {
    TSaveOutputWriter writer(output);
    WriteDayDataDocument(sources, writer);
    writer.RethrowFailure();
  });
}

void TDayDataFile::Load() {
  CheckObjects();
  const std::unique_ptr<TFileBytes> bytes = ReadWholeFile(FFileName);
  // Parsed in place: the text of the document is the file's own buffer, not a copy of it.
  const bool escapes = MayHoldEscapes(std::string_view(bytes->Data(), bytes->Size));
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_buffer_inplace(bytes->Data(), bytes->Size, kParseOptions);
  if (result && escapes) UnescapeAttributes(document);
  // The buffer no longer has its line breaks where they were; a failure reads the file again.
  TXmlSource source(FFileName, {});
  Read(document, result, source);
}

void TDayDataFile::LoadFromString(std::string_view bytes) {
  CheckObjects();
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_buffer(bytes.data(), bytes.size(), kParseOptions);
  if (result && MayHoldEscapes(bytes)) UnescapeAttributes(document);
  TXmlSource source(FFileName, bytes);
  Read(document, result, source);
}

void TDayDataFile::Read(pugi::xml_document& document, const pugi::xml_parse_result& result, TXmlSource& source) {
  // Only the five predefined entities and character references are expanded: a document type
  // declaration is skipped unread, so there are no entity definitions and no external entities.
  if (!result) {
    source.Fail(std::string("XML として正しくありません: ") + ParseProblem(result.status),
                std::string("not well-formed XML: ") + result.description(), result.offset);
  }
  const pugi::xml_node root = document.first_child();
  if (!root) {
    source.Fail(std::string("XML として正しくありません: ") + ParseProblem(pugi::status_no_document_element),
                "not well-formed XML: no document element", 0);
  }
  if (root.type() != pugi::node_element || root.next_sibling()) {
    const pugi::xml_node stray = root.type() != pugi::node_element ? root : root.next_sibling();
    source.Fail("XML として正しくありません: ルート要素の外に内容があります",
                "not well-formed XML: content outside the root element", stray.offset_debug());
  }
  TDayDataReader reader(source, {*FDayDataList, *FCategoryInfoList, *FFileList, *FThingList, *FPersonList,
                                 *FMultiDayGraphInfo, *FMultiDayGraphInfo2, *FChildWindowInfo, FView});
  reader.Read(root);
  reader.Commit();
}

}  // namespace hakuvo
