// The frames of vek-relax (--frames DIR): a numbered PNG of the tube for the
// curve as read and after every block of iterations, for a movie of the
// tightening (ffmpeg -i DIR/%05d.png tightening.mp4).
#pragma once

#include <memory>
#include <string>

#include "curve/double_array.h"
#include "io/file_bytes.h"
#include "render/frame_painter.h"

namespace vek {

// The name of frame `index` in `folder`: folder/00000.png, folder/00001.png,
// ... (five digits at least, more beyond 99999, as %05d writes them).
std::string FrameName(const std::string& folder, long long index);

// The file by which a run claims its frames folder.
inline constexpr const char* kFramesLockName = ".vek-frames.lock";

class RelaxFrames {
public:
    RelaxFrames();
    ~RelaxFrames();
    RelaxFrames(const RelaxFrames&) = delete;
    RelaxFrames& operator=(const RelaxFrames&) = delete;

    // Makes `folder` when it is missing (one level: its parent must exist),
    // refuses a name that is not a folder, claims the folder for this run
    // (makes kFramesLockName in it, refusing a folder where that file is
    // already: another run writes there; the file is removed when this
    // object goes) and refuses a folder that holds frames of
    // an earlier run (names of five or more digits and .png), which a movie
    // would show after the new ones. Then makes the one offscreen context of
    // the run, fixes its camera for every frame (with options.fit: fitted to
    // this curve, the curve as read) and writes frame 0. False with a
    // one-line `error` when any of that fails.
    bool Start(const std::string& folder, const TubePictureOptions& options, const CDoubleArray& x,
               const CDoubleArray& y, const CDoubleArray& z, std::string& error);

    // Writes the next frame of the curve. False with `error` when it cannot
    // be written; a partly written file is removed, so that the frames on
    // disk are all whole.
    bool Write(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, std::string& error);

    bool IsOpen() const { return m_painter != nullptr; }
    // Frames written so far.
    long long Count() const { return m_next; }

private:
    std::string m_folder;
    std::string m_lock;  // the claim on the folder, removed at the end
    std::unique_ptr<RemoveOnSignal> m_lockOnSignal;  // and on SIGINT, SIGTERM
    std::unique_ptr<FramePainter> m_painter;
    Matrix4 m_view{};
    long long m_next = 0;
};

}  // namespace vek
