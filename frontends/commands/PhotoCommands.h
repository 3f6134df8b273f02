#pragma once

namespace lk::cli {

class CliSession;
class CommandDispatcher;

// "photo FILE|cancel": answers the camera or photo-library picker that shows, with a JPEG or PNG
// file from disk (its EXIF orientation kept, as a camera's picture carries it) or by cancelling.
void registerPhotoCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli
