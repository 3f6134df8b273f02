#include "frontends/commands/PhotoCommands.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <variant>

#include "Platform/Image/ImageBitmap.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Image/ImageOrientation.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/ImagePickerController.h"
#include "Platform/UI/Window.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"

namespace lk::cli {

namespace {

// Larger files are no photo a phone would offer.
constexpr std::uintmax_t kMaxFileSize = 64U * 1024U * 1024U;

// The picker presented on top of everything, or null.
ui::ImagePickerController* shownPicker() {
  ui::Window* window = ui::Application::shared().keyWindow();
  if (window == nullptr || window->rootViewController() == nullptr) return nullptr;
  ui::ViewController* top = window->rootViewController();
  while (top->modalViewController() != nullptr)
    top = top->modalViewController();
  return dynamic_cast<ui::ImagePickerController*>(top);
}

// The picture of `path` as the picker hands it over, or the reason why not.
std::variant<ui::Image, std::string> readPicture(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return "cannot read " + path + ": " + ec.message();
  if (size > kMaxFileSize) return path + " is larger than 64 MiB";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (ImageCodec::formatOf(bytes) == ImageCodec::Format::kUnknown) {
    return path + " is not a JPEG or PNG picture";
  }
  auto decoded = ImageCodec::decode(bytes);
  if (!decoded) return path + " cannot be decoded (damaged or too large)";
  // The pixels as stored, with the orientation the camera recorded: the client turns them.
  return toUiImage(std::make_shared<const Image>(std::move(*decoded)))
      .withOrientation(jpegOrientation(bytes));
}

CommandResult photo(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty())
    return CommandResult::rejected("usage: photo FILE|cancel");
  if (ui::Application::shared().state() == ui::Application::State::kBackground) {
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  }
  ui::ImagePickerController* picker = shownPicker();
  if (picker == nullptr) {
    return CommandResult::rejected(
        "no photo picker is showing (tap the camera button and choose a source first)");
  }
  auto keep = picker->shared_from_this();
  if (args[0] == "cancel") {
    picker->cancel();
    return CommandResult::done();
  }
  auto picture = readPicture(args[0]);
  if (auto* reason = std::get_if<std::string>(&picture)) return CommandResult::rejected(*reason);
  const auto& image = std::get<ui::Image>(picture);
  const auto size = image.size();
  picker->pickImage(image);
  return CommandResult::done("picked " + std::to_string(static_cast<int>(size.width)) + "x" +
                             std::to_string(static_cast<int>(size.height)) + " from " + args[0]);
}

}  // namespace

void registerPhotoCommands(CommandDispatcher& dispatcher, CliSession& /*session*/) {
  dispatcher.add(
      {"photo", "photo FILE|cancel",
       "answers the photo picker that shows with a JPEG or PNG file, or cancels it", photo,
       "The picker shows after the camera button's \"从相册上传\" (or \"拍照上传\",\n"
       "offered only when the program was started with --camera). FILE is read from\n"
       "disk; a JPEG keeps the orientation its EXIF data records, as a camera's picture\n"
       "does. \"photo cancel\" closes the picker without a picture (a file named\n"
       "\"cancel\" is \"photo ./cancel\").\n"});
}

}  // namespace lk::cli
