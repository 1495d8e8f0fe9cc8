// The slide-show window's part in the show on the other monitors: it opens them, and at
// each change of picture moves them along with the primary.
#include "slide_saver/frmSSaver.h"

#include <algorithm>

#include "common/FileFolderFunctions_.h"
#include "common/GetDeskMonitors_.h"
#include "platform/Seams.h"
#include "slide_saver/MonitorPicks_.h"
#include "slide_saver/basSSaver.h"

namespace slide_saver {

void frmSSaver::OpenOtherMonitors() {
    if (InPreviewPane) return;
    for (const common::MonitorBox& area : common::OtherMonitorsInOrder(common::GetDeskMonitors()))
        OtherMonitors.push_back(std::make_unique<OtherMonitor>(*this, area));
}

void frmSSaver::CloseOtherMonitors() { OtherMonitors.clear(); }

void frmSSaver::ReopenOtherMonitors() {
    CloseOtherMonitors();
    OpenOtherMonitors();
    if (Pick.CurrentIndex > 0) ShowPicsOnOtherMonitors(false);
}

bool frmSSaver::LoadActivePic(const std::string& path, std::string* error) {
    // In order, the primary's next picture is the one the monitor beside it shows now.
    for (auto& monitor : OtherMonitors)
        if (monitor->Holds(path)) {
            Graphic[ActiveFrame].Adopt(monitor->TakePicture());
            return true;
        }
    platform::Picture ahead = ReadAhead.Take(path, SaverSettings.MorePicTypes);
    if (!ahead.Empty()) {
        Graphic[ActiveFrame].Adopt(std::move(ahead));
        return true;
    }
    // Read ahead for another step: let go before this picture takes its memory.
    ReadAhead.Cancel();
    return Graphic[ActiveFrame].Load(path, error, SaverSettings.MorePicTypes);
}

void frmSSaver::ReadAheadNextPic() {
    const long count = std::max(0L, common::UBound(common::PicFiles));
    common::PickState next = Pick;
    if (!common::PickNextIndex(next, count, false, SaverSettings.ShowRandom, platform::Rnd,
                               common::SinglePicture::KeepPrevious)) {
        ReadAhead.Cancel();
        return;
    }
    nextPick_ = DrawnPick{Pick, next, count, SaverSettings.ShowRandom};
    // In order, the monitor beside the primary shows the primary's next picture already, and
    // each monitor the next one's: the picture to load is the last monitor's next.
    std::vector<int32_t> coming{next.CurrentIndex};
    if (SaverSettings.AllMonitors && !SaverSettings.ShowRandom && !OtherMonitors.empty()) {
        std::vector<common::PickState> picks;
        for (const auto& monitor : OtherMonitors) picks.push_back(monitor->Pick);
        PickOtherMonitors(picks, next.CurrentIndex, static_cast<int32_t>(count), false, false, platform::Rnd);
        for (const common::PickState& pick : picks) coming.push_back(pick.CurrentIndex);
    }
    for (const int32_t index : coming) {
        if (index < 1 || index > count) continue;
        const std::string& path = common::PicFiles[index];
        if (std::none_of(OtherMonitors.begin(), OtherMonitors.end(),
                         [&path](const auto& monitor) { return monitor->Holds(path); })) {
            ReadAhead.Start(path, SaverSettings.MorePicTypes);
            return;
        }
    }
    ReadAhead.Cancel();
}

void frmSSaver::ShowPicsOnOtherMonitors(bool previous) {
    if (OtherMonitors.empty() || !SaverSettings.AllMonitors) return;
    const int32_t count = static_cast<int32_t>(std::max(0L, common::UBound(common::PicFiles)));
    std::vector<common::PickState> picks;
    for (const auto& monitor : OtherMonitors) picks.push_back(monitor->Pick);
    PickOtherMonitors(picks, Pick.CurrentIndex, count, previous, SaverSettings.ShowRandom, platform::Rnd);
    for (size_t k = 0; k < OtherMonitors.size(); ++k) {
        OtherMonitor& monitor = *OtherMonitors[k];
        monitor.Pick = picks[k];
        const int32_t index = picks[k].CurrentIndex;
        if (index < 1 || index > count) continue;
        const std::string& path = common::PicFiles[index];
        // Taken over from the monitor that shows it (in order, the next one to the right),
        // else loaded once the monitor's own picture is let go: one picture loads at a time.
        platform::Picture picture;
        for (size_t j = k; j < OtherMonitors.size() && picture.Empty(); ++j)
            if (OtherMonitors[j]->Holds(path)) picture = OtherMonitors[j]->TakePicture();
        if (picture.Empty()) {
            monitor.TakePicture();
            // A picture that cannot be loaded leaves the bare background for this change; the
            // primary reports load errors.
            picture = ReadAhead.Take(path, SaverSettings.MorePicTypes);
            if (picture.Empty()) picture = platform::Picture::Load(path, nullptr, SaverSettings.MorePicTypes);
            if (picture.HasAlpha()) picture.Flatten(monitor.BackColor());
        }
        monitor.ShowPicture(path, std::move(picture));
    }
}

void frmSSaver::LayOutOtherMonitors(bool newColor) {
    if (!SaverSettings.AllMonitors) return;
    for (auto& monitor : OtherMonitors) monitor->LayOut(newColor);
}

void frmSSaver::RedrawOtherMonitors() {
    for (auto& monitor : OtherMonitors) monitor->Redraw();
}

}  // namespace slide_saver
