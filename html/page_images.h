// The background images a written page names are copied beside it, as the export does.
#pragma once
#include <string>

#include "html/html_settings.h"
#include "html/html_writer.h"

namespace spinox {

// The name an image is copied under beside the page: the part of `name` after its last '\',
// '/' or ':', so that a name from a settings file never places a copy outside the page's
// folder. Empty when nothing usable is left ("", "." or "..").
std::string ImageCopyName(const std::string& name);

// The folder part of a page's path with its separator; empty for a bare file name.
std::string PageFolder(const std::string& page);

// What a written page is made of: its path and its four records.
struct WrittenPage {
  std::string path;
  const HtmTableProps& table;
  const HtmRowProps& top;
  const HtmRowProps& rest;
  const HtmPageProps& props;
};

// Copies each chosen image (the _htm_*_img paths of `html`) beside the page under
// ImageCopyName of the name the page uses for it. An existing file of that name is kept; an
// image that cannot be read is skipped. Returns how many images could not be copied.
int CopyPageImages(const WrittenPage& page, const HtmlSettings& html);

}  // namespace spinox
