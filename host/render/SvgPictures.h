// The pictures styles name, read from the project's picture folder and put
// into the document as data URIs, so that a rendered file stands on its own.
// A picture the folder does not hold (or that can not be shown) is drawn as
// a placeholder by the caller.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace grhost::render {

// The file name a style's `picture` names: the text after its last "/" or
// "\" (styles may carry the folder they were made in).
std::string pictureFileName(const std::string& picture);

// "data:image/png;base64,..." for the picture in FOLDER; "" when the file is
// missing, unreadable, larger than kMaxPictureBytes, or of a kind the
// document can not show (known: .png, .jpg, .jpeg, .gif, .bmp, .svg).
constexpr std::uintmax_t kMaxPictureBytes = 4 * 1024 * 1024;
std::string pictureDataUri(const std::filesystem::path& folder, const std::string& picture);

// Data URIs by picture, each file read once.
class PictureShelf {
 public:
  explicit PictureShelf(std::filesystem::path folder) : folder_(std::move(folder)) {}
  const std::string& dataUri(const std::string& picture);

 private:
  std::filesystem::path folder_;
  std::map<std::string, std::string> read_;
};

}  // namespace grhost::render
