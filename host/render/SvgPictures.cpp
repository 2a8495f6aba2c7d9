#include "host/render/SvgPictures.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace grhost::render {
namespace {

std::string lowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string mediaTypeOf(const std::filesystem::path& file) {
  std::string extension = lowerAscii(file.extension().string());
  if (extension == ".png") return "image/png";
  if (extension == ".jpg" || extension == ".jpeg") return "image/jpeg";
  if (extension == ".gif") return "image/gif";
  if (extension == ".bmp") return "image/bmp";
  if (extension == ".svg") return "image/svg+xml";
  return "";
}

std::string base64(const std::string& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]),
         c = static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[a >> 2];
    out += kDigits[((a & 3) << 4) | (b >> 4)];
    out += kDigits[((b & 15) << 2) | (c >> 6)];
    out += kDigits[c & 63];
  }
  if (i + 1 == bytes.size()) {
    auto a = static_cast<unsigned char>(bytes[i]);
    out += kDigits[a >> 2];
    out += kDigits[(a & 3) << 4];
    out += "==";
  } else if (i + 2 == bytes.size()) {
    auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    out += kDigits[a >> 2];
    out += kDigits[((a & 3) << 4) | (b >> 4)];
    out += kDigits[(b & 15) << 2];
    out += '=';
  }
  return out;
}

}  // namespace

std::string pictureFileName(const std::string& picture) {
  std::size_t separator = picture.find_last_of("/\\");
  return separator == std::string::npos ? picture : picture.substr(separator + 1);
}

std::string pictureDataUri(const std::filesystem::path& folder, const std::string& picture) {
  std::string name = pictureFileName(picture);
  // Only a plain name is looked up: never a path out of the folder.
  if (name.empty() || name == "." || name == ".." || folder.empty()) return "";
  std::filesystem::path file = folder / name;
  std::string mediaType = mediaTypeOf(file);
  std::error_code error;
  if (mediaType.empty() || !std::filesystem::is_regular_file(file, error)) return "";
  std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error || size == 0 || size > kMaxPictureBytes) return "";
  std::ifstream in(file, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) return "";
  return "data:" + mediaType + ";base64," + base64(bytes);
}

const std::string& PictureShelf::dataUri(const std::string& picture) {
  auto [at, inserted] = read_.try_emplace(picture);
  if (inserted) at->second = pictureDataUri(folder_, picture);
  return at->second;
}

}  // namespace grhost::render
