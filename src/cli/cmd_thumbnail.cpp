#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_diary.h"
#include "cli/messages.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/common/safe_file_writer.h"
#include "core/links/file_kind.h"
#include "core/links/thumbnail.h"
#include "core/links/upright_thumbnail.h"
#include "core/model/link_data.h"

namespace {

using hakuvo::cli::Text;

struct ThumbnailOptions {
  std::vector<std::string> Files;
  bool ViewFiles = false;  // the diary's own view files instead of pictures for a person
  int Size = 120;          // the settings' default box
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
    } else if (args[i] == "--view-files") {
      options.ViewFiles = true;
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
      if (options.ViewFiles) {
        hakuvo::TImageFileLink link;
        link.FileName = file;
        if (!hakuvo::MakeJpegViewFile(link, options.Size, options.Size, options.Folder)) {
          throw hakuvo::EHakuvoError(Text(hakuvo::cli::msgCannotOpenPicture, {file}));
        }
        hakuvo::cli::PrintRow({file, link.ViewFileName});
        continue;
      }
      // Named after the photograph, so that running again replaces what the last run made.
      const std::string out =
          (std::filesystem::path(options.Folder) / std::filesystem::path(file).stem()).string() + ".jpg";
      const std::optional<std::string> jpeg = hakuvo::MakeUprightJpegThumbnail(file, options.Size, options.Size);
      if (!jpeg) throw hakuvo::EHakuvoError(Text(hakuvo::cli::msgCannotOpenPicture, {file}));
      hakuvo::WriteFileAtomically(out, *jpeg, hakuvo::sdCacheFile);
      hakuvo::cli::PrintRow({file, out});
    } catch (const std::exception& error) {
      std::cout.flush();
      hakuvo::cli::PrintError(hakuvo::cli::ErrorText(error));
      status = 1;
    }
  }
  return status;
}

hakuvo::cli::Registrar registrar({"thumbnail", "FILE... [--size N] --out DIR [--view-files]",
                                  "makes the thumbnail of each JPEG photograph in DIR as DIR/NAME.jpg (a JPEG "
                                  "fitted into N x N, 120 by default, turned upright by its Exif orientation; "
                                  "replaced when run again) and prints its name; with --view-files, makes the "
                                  "view files the diary keeps for itself instead (new names, unturned: the program "
                                  "turns them as it shows them)",
                                  RunThumbnail});

}  // namespace
