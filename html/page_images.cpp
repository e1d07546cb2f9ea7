#include "html/page_images.h"

#include <vector>

#include "base/file.h"
#include "base/replace_file.h"
#include "base/text.h"

namespace spinox {

namespace {

// An image larger than this is not copied.
constexpr size_t kMaxImageBytes = size_t{64} << 20;

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

// False when the image should have been copied and could not be.
bool CopyImage(const std::string& folder, const char* name, const char* source) {
  std::string file = ImageCopyName(FieldText(name, kPathSize));
  std::string from = FieldText(source, kPathSize);
  if (file.empty() || from.empty()) return true;
  std::string to = folder + file;
  if (KindOf(to) != PathKind::kMissing) return true;
  std::vector<unsigned char> bytes;
  if (!ReadFileRange(from, 0, kMaxImageBytes + 1, &bytes) || bytes.size() > kMaxImageBytes)
    return false;
  return WriteFileReplacing(to, bytes.data(), bytes.size());
}

}  // namespace

std::string ImageCopyName(const std::string& name) {
  size_t slash = name.find_last_of("\\/:");
  std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
  return file == "." || file == ".." ? std::string() : file;
}

std::string PageFolder(const std::string& page) {
  size_t slash = page.find_last_of(kSeparators);
  return slash == std::string::npos ? std::string() : page.substr(0, slash + 1);
}

int CopyPageImages(const WrittenPage& page, const HtmlSettings& html) {
  std::string folder = PageFolder(page.path);
  int failed = 0;
  failed += !CopyImage(folder, page.table.background, html._htm_table_img);
  failed += !CopyImage(folder, page.props.background, html._htm_page_img);
  failed += !CopyImage(folder, page.rest.background, html._htm_rest_img);
  failed += !CopyImage(folder, page.top.background, html._htm_top_img);
  return failed;
}

}  // namespace spinox
