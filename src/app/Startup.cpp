#include "Startup.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTimer>

#include "CMainFrame.h"
#include "LanguageSwitch.h"
#include "Prompter.h"
#include "Session.h"
#include "Settings.h"
#include "SplashWindow.h"

namespace {

// The file named by the language setting; names match ignoring case, as the program's
// other file look-ups do on the desktops it comes from ("chinese" finds Chinese.qm).
QString findLanguageFile(const QString& dir, const QString& language) {
    const QString wanted = language + QStringLiteral(".qm");
    const QString exact = dir + wanted;
    if (QFileInfo(exact).isFile() || language.isEmpty()) return exact;
    for (const QString& name : QDir(dir).entryList({QStringLiteral("*.qm")}, QDir::Files))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return dir + name;
    return exact;
}

}  // namespace

Startup::Startup(Options options) : options_(std::move(options)) {
    if (!options_.prompter) options_.prompter = &Prompter::standard();
    if (options_.programPath.isEmpty())
        options_.programPath = QCoreApplication::applicationFilePath();
    if (!options_.launch)
        options_.launch = [](const QString& program, const QStringList& arguments) {
            return QProcess::startDetached(program, arguments);
        };
}

QIcon Startup::programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/cps-program-%1.png").arg(size), QSize(size, size));
    return icon;
}

Startup::~Startup() {
    frame_.reset();
    if (installed_) QCoreApplication::removeTranslator(&language_);
    if (qtInstalled_) QCoreApplication::removeTranslator(&qtTexts_);
    if (localeSet_) QLocale::setDefault(previousLocale_);
}

Startup::Options Startup::fromArguments(const QStringList& args, const QString& programDir) {
    Options o;
    o.programDir = programDir;
    o.arguments = args.mid(1);
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-nosplash") || a == QLatin1String("/nosplash")) {
            o.splash = false;
        } else if (o.fileToOpen.isEmpty()) {
            o.fileToOpen = a;
        }
    }
    return o;
}

bool Startup::start() {
    file_ = std::make_unique<cps::SettingsFile>();
    file_->open(options_.programDir);
    const cps::Settings& ctx = file_->settings();

    // The language file carries the menus, prompts and string table of one language.
    const QString languageFile = findLanguageFile(ctx.programDir, ctx.languageName);
    if (!QFileInfo(languageFile).isFile() || !language_.load(languageFile)) {
        // A settings file that could not be read is why the language is missing: say so.
        QString text = ctx.text("Load language DLL fail", "加载语言链接库失败");
        if (!ctx.profile().errorString().isEmpty())
            text += QLatin1Char('\n') + ctx.profile().errorString();
        else if (ctx.profile().createdMissing())
            text +=
                QLatin1Char('\n') +
                ctx.text(
                       "%1 was missing, so no language is set; an empty one was created. "
                       "Reinstall the program to get its settings back.",
                       "%1 不存在，因此未设置语言；已新建一个空文件。请重新安装程序以恢复设置。")
                    .arg(QDir::toNativeSeparators(ctx.profile().path()));
        options_.prompter->message(nullptr, QStringLiteral("Program"), text, Prompter::Icon::None,
                                   QMessageBox::Ok);
        return false;
    }
    QCoreApplication::installTranslator(&language_);
    installed_ = true;
    languageFile_ = languageFile;
    // Qt's own texts (file and print dialogs, standard buttons) come from Qt's translations
    // when they are installed; without them those texts stay English. The locale gives the
    // file dialogs' type and date columns in Chinese.
    if (ctx.chinese) {
        if (qtTexts_.load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(&qtTexts_);
            qtInstalled_ = true;
        }
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        localeSet_ = true;
    }

    if (options_.splash) {
        if (QPointer<SplashWindow> splash =
                SplashWindow::showPicture(ctx.programDir + QStringLiteral("startup.bmp"))) {
            QEventLoop pause;
            QTimer::singleShot(SplashWindow::kShowMs, &pause, &QEventLoop::quit);
            pause.exec();
            if (splash) splash->close();
        }
    }

    frame_ = std::make_unique<CMainFrame>(ctx, *file_, options_.prompter);
    QObject::connect(frame_.get(), &CMainFrame::restartRequested, [this] { restart_ = true; });
    if (options_.fileToOpen.isEmpty()) {
        frame_->newDocument();
    } else if (!frame_->openDocument(options_.fileToOpen)) {
        frame_.reset();
        return false;
    }
    // A dealer's own title.ico beside the program wins over the program's icon.
    const QString icon = ctx.programDir + QStringLiteral("title.ico");
    QApplication::setWindowIcon(QFileInfo(icon).isFile() ? QIcon(icon) : programIcon());
    if (options_.showWindow) {
        // Without a window manager a maximise request does nothing: take the screen anyway.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            frame_->setGeometry(screen->availableGeometry());
        frame_->showMaximized();
        QCoreApplication::processEvents();
        frame_->fitChannelWindows();
    }
    // appName ([language] Company) was read with the settings.
    const QString showLang = ctx.profile().get(QStringLiteral("Setup"), QStringLiteral("ShowLang"));
    frame_->trimMenus(std::atoi(showLang.toLatin1().constData()) != 0);
    return true;
}

const cps::Settings& Startup::settings() const {
    static const cps::Settings none;
    return file_ ? file_->settings() : none;
}

QStringList Startup::report() const {
    const cps::ProfileStore& profile = settings().profile();
    return {frame_ ? frame_->windowTitle() : QString(), languageFile_, profile.path(),
            profile.userCopyPath()};
}

void Startup::exit() {
    // Saved first: the new instance reads the settings as this one leaves them.
    if (!file_) return;
    const cps::Settings& ctx = file_->settings();
    if (!file_->saveOnExit(frame_ ? frame_->session().sqlWriting() : ctx.sqlWritingAllowed))
        options_.prompter->message(nullptr, ctx.appName,
                                   ctx.text("The settings could not be saved.", "无法保存设置。") +
                                       QLatin1Char('\n') + file_->errorString(),
                                   Prompter::Icon::Exclamation, QMessageBox::Ok);
    if (!restart_) return;
    restart_ = false;
    // When it cannot be started, the new language applies at the next start by hand.
    options_.launch(options_.programPath, cps::restartArguments(options_.arguments));
}
