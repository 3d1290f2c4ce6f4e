#include "render/frame_painter.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace {

// The module's entry point, looked up once; null with `error` when the
// module or its libraries cannot be loaded.
MakeFramePainterFunction EntryPoint(std::string& error)
{
    static std::once_flag once;
    static MakeFramePainterFunction entry = nullptr;
    static std::string why;
    std::call_once(once, [] {
        const std::string path = FramePainterModulePath();
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* text = dlerror();
            why = "cannot load the picture module " + path + ": " + (text ? text : "unknown reason");
            return;
        }
        entry = reinterpret_cast<MakeFramePainterFunction>(dlsym(module, kMakeFramePainterName));
        if (!entry)
            why = "the picture module " + path + " has no entry point " + kMakeFramePainterName;
    });
    error = why;
    return entry;
}

}  // namespace

std::string FramePainterModulePath()
{
    std::error_code code;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", code);
    const std::filesystem::path top = code ? std::filesystem::path("..") : program.parent_path().parent_path();
    return (top / VEK_FRAME_PAINTER_MODULE).string();
}

std::unique_ptr<FramePainter> LoadFramePainter(const TubePictureOptions& options, std::string& error)
{
    const MakeFramePainterFunction make = EntryPoint(error);
    if (!make)
        return nullptr;
    std::unique_ptr<FramePainter> painter(make(&options));
    if (!painter)
        error = "not enough memory for the pictures";
    return painter;
}
