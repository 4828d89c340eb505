#include "AppIcons.h"

#include <wx/iconbndl.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/toplevel.h>

#include <filesystem>

namespace vz::widgets {
namespace {

wxIconBundle LoadBundle(const std::string& dataFolder) {
  namespace fs = std::filesystem;
  wxLogNull quiet;
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxIconBundle bundle;
  const fs::path data(dataFolder);
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const std::string n = std::to_string(size);
    for (const fs::path& file : {data / "icons" / ("velmora-zip-" + n + ".png"),
                                 data.parent_path() / "icons" / "hicolor" / (n + "x" + n) / "apps" / "velmora-zip.png"}) {
      std::error_code ec;
      if (!fs::is_regular_file(file, ec)) continue;
      wxIcon icon;
      if (icon.LoadFile(wxString::FromUTF8(file.string()), wxBITMAP_TYPE_PNG)) {
        bundle.AddIcon(icon);
        break;
      }
    }
  }
  return bundle;
}

}  // namespace

void ApplyAppIcons(wxTopLevelWindow* window, const std::string& dataFolder) {
  // A few small files, read as each window opens: nothing outlives the
  // toolkit.
  wxIconBundle bundle = LoadBundle(dataFolder);
  if (!bundle.IsEmpty()) window->SetIcons(bundle);
}

}  // namespace vz::widgets
