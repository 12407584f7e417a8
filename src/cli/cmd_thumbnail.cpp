#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/messages.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/links/file_kind.h"
#include "core/links/thumbnail.h"
#include "core/model/link_data.h"

namespace {

using hakuvo::cli::Text;

struct ThumbnailOptions {
  std::vector<std::string> Files;
  int Size = 120;  // the settings' default box
  std::string Folder;
};

ThumbnailOptions ParseOptions(const std::vector<std::string>& args) {
  ThumbnailOptions options;
  bool haveFolder = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--size" || args[i] == "--out") {
      if (i + 1 == args.size()) throw hakuvo::cli::UsageError{Text(hakuvo::cli::msgNeedsValue, {args[i]})};
      const std::string& value = args[++i];
      if (args[i - 1] == "--out") {
        options.Folder = value;
        haveFolder = true;
      } else if (!hakuvo::TryParseInt(value, options.Size) || options.Size < 1 || options.Size > 10000) {
        throw hakuvo::cli::UsageError{Text(hakuvo::cli::msgSizeValue)};
      }
    } else {
      options.Files.push_back(args[i]);
    }
  }
  if (options.Files.empty()) throw hakuvo::cli::UsageError{Text(hakuvo::cli::msgExpectedFiles)};
  if (!haveFolder) throw hakuvo::cli::UsageError{Text(hakuvo::cli::msgExpectedOut)};
  return options;
}

// Makes each photograph's thumbnail as the diary makes a picture link's, and prints where it
// went. Only JPEG photographs are taken: the other picture kinds need the desktop program's
// picture library, which this program does without. A file that cannot be made into a thumbnail
// is reported and the others are still made.
int RunThumbnail(const std::vector<std::string>& args) {
  const ThumbnailOptions options = ParseOptions(args);
  std::filesystem::create_directories(options.Folder);
  int status = 0;
  std::cout << "file\tthumbnail\n";
  for (const std::string& file : options.Files) {
    try {
      if (!hakuvo::IsJpegFile(file)) {
        throw hakuvo::EHakuvoError(Text(hakuvo::cli::msgNotJpegThumbnail, {file}));
      }
      hakuvo::TImageFileLink link;
      link.FileName = file;
      if (!hakuvo::MakeJpegViewFile(link, options.Size, options.Size, options.Folder)) {
        throw hakuvo::EHakuvoError(file + ": cannot open the file (missing, unreadable or not a plain file)");
      }
      std::cout << file << "\t" << link.ViewFileName << "\n";
    } catch (const std::exception& error) {
      std::cout.flush();
      hakuvo::cli::PrintError(error.what());
      status = 1;
    }
  }
  return status;
}

hakuvo::cli::Registrar registrar({"thumbnail", "FILE... [--size N] --out DIR",
                                  "makes the thumbnail of each JPEG photograph in DIR (a JPEG fitted into N x N, "
                                  "120 by default) and prints its name",
                                  RunThumbnail});

}  // namespace
