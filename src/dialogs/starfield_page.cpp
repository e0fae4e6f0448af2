#include "dialogs/settings_pages.h"

namespace {

constexpr int32_t kAny = MessageRow<StarfieldPage>::kAny;

}  // namespace

StarfieldPage::StarfieldPage(DialogServices& services)
    : SettingsPage(services, dlg::kStarfieldPage, "::/settings.htm#tab1") {}

const MessageRow<StarfieldPage> StarfieldPage::kMessages[] = {
    {msg::kCommand, dlg::kUsePictures, msg::kButtonClicked, &StarfieldPage::onUsePictures},
    {msg::kCommand, dlg::kAddPicture, kAny, &StarfieldPage::onAddPicture},
    {msg::kCommand, dlg::kRemovePicture, kAny, &StarfieldPage::onRemovePicture},
};

intptr_t StarfieldPage::pageMessage(const Message& m) { return dispatchMessage<StarfieldPage>(*this, kMessages, m); }

void StarfieldPage::refresh() {
    showTrackbar(dlg::kStarsTrackbar);
    showTrackbar(dlg::kCloudsTrackbar);
    const bool use = settings().UseNUR;
    view().setChecked(dlg::kUsePictures, use);
    view().enable(dlg::kPictureList, use);
    view().enable(dlg::kAddPicture, use);
    view().enable(dlg::kRemovePicture, use);
    view().listReset(dlg::kPictureList);
    for (const std::string& path : settings().NURimages) view().listAdd(dlg::kPictureList, fileNamePart(path));
    // A list with rows can always be shortened, even while it is not used.
    const bool rows = !settings().NURimages.empty();
    if (rows) view().listSelect(dlg::kPictureList, 0);
    view().enable(dlg::kRemovePicture, rows);
}

intptr_t StarfieldPage::onUsePictures(const Message&) {
    const bool use = view().isChecked(dlg::kUsePictures);
    settings().UseNUR = use;
    view().enable(dlg::kPictureList, use);
    view().enable(dlg::kAddPicture, use);
    view().enable(dlg::kRemovePicture, use && view().listSelection(dlg::kPictureList) >= 0);
    return 1;
}

intptr_t StarfieldPage::onAddPicture(const Message&) {
    OpenFileRequest request;
    request.filters = {{"Windows Bitmap (*.bmp)", "*.BMP"},
                       {"JPEG image (*.jpg)", "*.JPG"},
                       {"GIF image (*.gif)", "*.GIF"},
                       {"PNG image (*.png)", "*.PNG"},
                       {"All (*.*)", "*.*"}};
    request.initialFolder = settings().ProgramDir;
    request.title = dialogText(settings(), dlg::kPictureFileTitle, 100);
    request.allTypesName = dialogText(settings(), dlg::kAllPictures, 100);
    std::string path;
    if (!view().openFile(request, path)) return 1;
    if (!fitsStoreWith(StoredText::Pictures, settings().NURimages, path)) {
        showRefusal(view(), settings(), dlg::kPictureListFull);
        return 1;
    }
    // The same picture may be added twice; it is read when the saver starts.
    settings().NURimages.push_back(path);
    view().listAdd(dlg::kPictureList, fileNamePart(path));
    view().listSelect(dlg::kPictureList, static_cast<int>(settings().NURimages.size()) - 1);
    view().enable(dlg::kRemovePicture, true);
    return 1;
}

intptr_t StarfieldPage::onRemovePicture(const Message&) {
    std::vector<std::string>& pictures = settings().NURimages;
    const int row = view().listSelection(dlg::kPictureList);
    if (row < 0 || static_cast<size_t>(row) >= pictures.size()) return 1;
    pictures.erase(pictures.begin() + row);
    view().listDelete(dlg::kPictureList, row);
    view().listSelect(dlg::kPictureList, row > 0 ? row - 1 : 0);
    if (pictures.empty()) view().enable(dlg::kRemovePicture, false);
    return 1;
}
