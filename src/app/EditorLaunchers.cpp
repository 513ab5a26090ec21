#include "EditorLaunchers.h"

#include "CChildFrame.h"
#include "CDtmfCodesDlg.h"
#include "CKeyAssignmentDlg.h"
#include "CMskDlg.h"
#include "COptionalFeaturesDlg.h"
#include "CParamAdjustDlg.h"
#include "CPasswordDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CSoftwareInfoDlg.h"
#include "CSqlTuningDlg.h"
#include "CStunDlg.h"
#include "CTwoToneDlg.h"
#include "CommandIds.h"
#include "FeatureFields.h"
#include "ParamAdjustFields.h"
#include "Pick.h"
#include "SoftwareInfoFields.h"
#include "SqlTuningFields.h"
#include "Workspace.h"

namespace {
using Launcher = EditorLaunchers::Launcher;
Launcher row(int command, bool needsAccessCode, EditorLaunchers::Lifetime lifetime,
             decltype(Launcher::make) make, const cps::field::Table* fields) {
    Launcher l;
    l.command = command;
    l.needsAccessCode = needsAccessCode;
    l.lifetime = lifetime;
    l.make = std::move(make);
    l.fields = fields;
    return l;
}
}  // namespace

std::vector<EditorLaunchers::Launcher> EditorLaunchers::standard(
    std::function<void()> afterSoftwareInfo) {
    using L = Lifetime;
    using C = const Context&;
    auto image = [](C c) -> cps::RadioImage& { return c.frame->document()->image(); };
    std::vector<Launcher> t = {
        row(
            cmd::OptionalFeatures, false, L::Window,
            [](C c) {
                return std::make_unique<COptionalFeaturesDlg>(c.activeImage, c.chinese, c.parent);
            },
            &cps::optionalFields()),
        row(
            cmd::Msk, false, L::Window,
            [](C c) { return std::make_unique<CMskDlg>(c.activeImage, c.chinese, c.parent); },
            &cps::mskFields()),
        row(
            cmd::Dtmf, false, L::PerUse,
            [image](C c) { return std::make_unique<CDtmfCodesDlg>(image(c), c.chinese, c.parent); },
            &cps::dtmfFields()),
        row(
            cmd::KeyAssignment, false, L::PerUse,
            [image](C c) {
                return std::make_unique<CKeyAssignmentDlg>(image(c), c.chinese, c.parent);
            },
            &cps::keyFields()),
        row(
            cmd::Stun, true, L::PerUse,
            [image](C c) { return std::make_unique<CStunDlg>(image(c), c.chinese, c.parent); },
            &cps::stunFields()),
        row(
            cmd::ParamAdjust, true, L::PerUse,
            [image](C c) {
                return std::make_unique<cps::CParamAdjustDlg>(image(c), c.frame->radioContext(),
                                                              c.parent);
            },
            &cps::paramAdjustFields()),
        row(
            cmd::SqlTuning, false, L::PerUse,
            [image](C c) {
                return std::make_unique<cps::CSqlTuningDlg>(image(c), c.frame->radioContext(),
                                                            c.parent);
            },
            &cps::sqlTuningFields()),
        row(
            cmd::SoftwareInfo, false, L::PerUse,
            [image](C c) {
                // The refill takes the new limits from the image.
                return std::make_unique<cps::CSoftwareInfoDlg>(image(c), c.chinese, nullptr,
                                                               c.parent);
            },
            &cps::softwareInfoFields()),
        row(
            cmd::TwoTone, false, L::Document,
            [image](C c) {
                return std::make_unique<cps::CTwoToneDlg>(image(c), c.chinese, c.parent);
            },
            nullptr),
    };
    for (Launcher& l : t) {
        if (l.command == cmd::SoftwareInfo) {
            // The grid is refilled from the image after OK: channels typed since the last
            // store go into the image first, or the refill would drop them.
            l.before = [](CChildFrame& f) {
                f.view()->storeGridIntoImage();
                f.document()->absorbChange();
            };
            l.afterOk = [afterSoftwareInfo](CChildFrame& f) {
                // Before the refill: a new image's fill would put its own ranges back.
                if (afterSoftwareInfo) afterSoftwareInfo();
                f.view()->fillGridFromImage(true);
            };
        } else if (l.command == cmd::TwoTone) {
            // Its dialog edits the encode and the decode tables.
            l.stepEn = "2-Tone";
            l.stepZh = "两音";
        }
    }
    return t;
}

EditorLaunchers::EditorLaunchers(Workspace& workspace, bool chinese, std::vector<Launcher> table)
    : workspace_(workspace), chinese_(chinese), table_(std::move(table)) {
    Context c;
    c.chinese = chinese_;
    c.parent = workspace_.dialogParent();
    c.activeImage = [this]() -> cps::RadioImage* {
        CChildFrame* f = workspace_.activeFrame();
        return f ? &f->document()->image() : nullptr;
    };
    for (const Launcher& l : table_)
        if (l.lifetime == Lifetime::Window) kept_.insert(l.command, l.make(c).release());
}

EditorLaunchers::~EditorLaunchers() = default;

const EditorLaunchers::Launcher* EditorLaunchers::find(int command) const {
    for (const Launcher& l : table_)
        if (l.command == command) return &l;
    return nullptr;
}

QDialog* EditorLaunchers::dialog(int command) const {
    if (QDialog* d = kept_.value(command)) return d;
    const auto it = perDocument_.find(command);
    return it != perDocument_.end() ? it->second.dialog.get() : nullptr;
}

QString EditorLaunchers::stepName(int command) const {
    const Launcher* l = find(command);
    if (!l) return {};
    if (l->stepEn) return cps::pick(chinese_, l->stepEn, l->stepZh);
    return l->fields ? l->fields->title.get(chinese_) : QString();
}

bool EditorLaunchers::launch(int command) {
    const Launcher* l = find(command);
    CChildFrame* frame = workspace_.activeFrame();
    if (!l) return false;
    QWidget* parent = workspace_.dialogParent();
    if (l->lifetime != Lifetime::Window && !frame) return false;
    if (l->needsAccessCode && !cps::CPasswordDlg::ask(chinese_, parent)) return false;
    if (l->before && frame) l->before(*frame);
    int result = QDialog::Rejected;
    if (l->lifetime == Lifetime::Window) {
        result = kept_.value(command)->exec();
    } else {
        Context c;
        c.frame = frame;
        c.chinese = chinese_;
        c.parent = parent;
        if (l->lifetime == Lifetime::PerUse) {
            result = l->make(c)->exec();
        } else {
            ForDocument& d = perDocument_[command];
            if (!d.dialog || d.frame != frame) {
                d.dialog = l->make(c);
                d.frame = frame;
            }
            result = d.dialog->exec();
        }
    }
    if (l->afterOk) {
        if (result != QDialog::Accepted || !frame) return true;
        l->afterOk(*frame);
    }
    // What the dialog changed is one step.
    if (CChildFrame* active = workspace_.activeFrame())
        active->document()->recordChange(stepName(command));
    return true;
}

void EditorLaunchers::forget(CChildFrame* frame) {
    for (auto& [command, d] : perDocument_)
        if (d.frame == frame) d = ForDocument();
}
