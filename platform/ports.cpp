#include "platform/ports.h"

namespace velmo {

namespace {

class FileErrorCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "velmo-file"; }
    std::string message(int code) const override {
        switch (static_cast<FileErrc>(code)) {
            case FileErrc::NotRegularFile:
                return "Not a regular file";
            case FileErrc::TooLarge:
                return "File too large";
            case FileErrc::UnsafeLink:
                return "A link in a shared folder that belongs to another user";
            case FileErrc::NotOwnFile:
                return "It belongs to another user; Velmo takes only the files of the user it "
                       "runs for";
            case FileErrc::WritableByOthers:
                return "Other users may change it; take away their write permission (chmod go-w)";
            case FileErrc::UnsafeFolder:
                return "A folder on its path belongs to another user, or other users may change "
                       "it";
        }
        return "Unknown file error";
    }
};

}  // namespace

const std::error_category& FileCategory() {
    static const FileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileErrc code) {
    return {static_cast<int>(code), FileCategory()};
}

}  // namespace velmo
