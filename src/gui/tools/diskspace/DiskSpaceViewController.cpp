#include "gui/tools/diskspace/DiskSpaceViewController.h"

#include "engine/fs/ListedItem.h"
#include "engine/fs/Removal.h"
#include "engine/system/SystemInfoService.h"
#include "engine/system/Usage.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/style/Symbols.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/PlatformText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/diskspace/DiskMapView.h"
#include "gui/tools/diskspace/UsageBarView.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/SeparatorLine.h"
#include "platform/Workspace.h"

#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <unistd.h>

namespace tidvale::gui {
namespace {

QLabel* gridLabel(const QString& text, const QColor& color)
{
    auto* label = new QLabel(text);
    label->setFont(uiFont(13, QFont::Medium));
    setTextColor(label, color);
    return label;
}

QLabel* gridValue(int64_t bytes, const QColor& color)
{
    auto* label = new QLabel(fileBytesText(bytes));
    label->setFont(monospacedDigitFont(14, QFont::DemiBold));
    setTextColor(label, color);
    return label;
}

} // namespace

void DiskSpaceViewController::loadView()
{
    setUpScreen(
        {QStringLiteral("Espacio en Disco"), platformText(context(), &PlatformTexts::diskSubtitle),
            QStringLiteral("externaldrive.fill"), systemColor(SystemColor::red)},
        ToolbarStyle::none);
    diskInfo_ = services().info.getDiskInfo();
    setContent(buildFigures(), ContentInset::edgeToEdge);
}

// Every figure is read again and every control below the header made anew.
void DiskSpaceViewController::refreshDisk()
{
    ensureViewLoaded();
    diskInfo_ = services().info.getDiskInfo();
    replaceContent(buildFigures());
}

QWidget* DiskSpaceViewController::buildFigures()
{
    percentLabel_ = totalValue_ = usedValue_ = freeValue_ = reservedValue_ = nullptr;
    usageBar_ = nullptr;
    finderButton_ = refreshButton_ = nullptr;
    if (!mapSection_)
        mapSection_ = buildMap();
    if (!diskInfo_) {
        auto* column = new QWidget;
        auto* stack = new QVBoxLayout(column);
        stack->setContentsMargins(30, 24, 30, 24);
        stack->addWidget(mapSection_);
        return makeScrollColumn(column);
    }
    const DiskInfo disk = *diskInfo_;
    const Usage usage = volumeUsage(disk);

    auto* column = new QWidget;
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(30, 24, 30, 24);
    stack->setSpacing(20);
    stack->setAlignment(Qt::AlignTop);

    auto* drive = new QHBoxLayout;
    drive->setSpacing(12);
    auto* driveIcon = new QLabel;
    driveIcon->setPixmap(symbolPixmap(QStringLiteral("internaldrive.fill"), 48,
        systemColor(SystemColor::red), devicePixelRatioF()));
    driveIcon->setFixedSize(48, 48);
    auto* driveName = new QLabel(QString::fromStdString(disk.name));
    driveName->setFont(uiFont(22, QFont::DemiBold));
    drive->addWidget(driveIcon);
    drive->addWidget(driveName);
    drive->addStretch(1);
    stack->addLayout(drive);

    usageBar_ = new UsageBarView(systemColor(SystemColor::red));
    usageBar_->setFixedHeight(24);
    stack->addWidget(usageBar_);
    usageBar_->animateTo(usage.fraction);

    percentLabel_ = new QLabel(QString::number(usage.percent) + QStringLiteral("% usado"));
    percentLabel_->setFont(uiFont(14, QFont::DemiBold));
    setTextColor(percentLabel_,
        usageLevelColor(usageLevel(usage.fraction), systemColor(SystemColor::green)));
    stack->addWidget(percentLabel_);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(10);
    grid->setHorizontalSpacing(0);
    grid->setColumnMinimumWidth(0, 160);
    grid->setColumnMinimumWidth(1, 140);
    grid->setColumnStretch(2, 1);
    const QColor secondary = secondaryLabelColor(this);
    totalValue_ = gridValue(disk.total, labelColor(this));
    usedValue_ = gridValue(static_cast<int64_t>(usage.used), systemColor(SystemColor::red));
    freeValue_ = gridValue(disk.free, systemColor(SystemColor::green));
    grid->addWidget(gridLabel(QStringLiteral("Capacidad Total"), secondary), 0, 0);
    grid->addWidget(totalValue_, 0, 1);
    grid->addWidget(gridLabel(QStringLiteral("Espacio Usado"), secondary), 1, 0);
    grid->addWidget(usedValue_, 1, 1);
    grid->addWidget(gridLabel(QStringLiteral("Espacio Libre"), secondary), 2, 0);
    grid->addWidget(freeValue_, 2, 1);
    // Where the file system keeps blocks for the administrator, used and free fall
    // short of the capacity: the third figure makes them add up.
    if (const QString reserved = platformText(context(), &PlatformTexts::reservedTitle);
        !reserved.isEmpty()) {
        const int64_t kept = std::max<int64_t>(
            0, disk.total - static_cast<int64_t>(usage.used) - std::max<int64_t>(0, disk.free));
        reservedValue_ = gridValue(kept, secondary);
        grid->addWidget(gridLabel(reserved, secondary), 3, 0);
        grid->addWidget(reservedValue_, 3, 1);
    }
    for (int row = 0; row < grid->rowCount(); ++row)
        if (auto* name = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget())) {
            // A longer name than the Mac's three keeps a gap before its value.
            grid->setColumnMinimumWidth(
                0, std::max(grid->columnMinimumWidth(0), name->sizeHint().width() + 16));
            grid->itemAtPosition(row, 1)->widget()->setAccessibleDescription(name->text());
        }
    stack->addLayout(grid);

    stack->addWidget(makeSeparatorLine(this));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    finderButton_ = new PrimaryButton(
        platformText(context(), &PlatformTexts::openInFolder), systemColor(SystemColor::blue));
    connect(finderButton_, &PrimaryButton::clicked, this, &DiskSpaceViewController::openInFinder);
    refreshButton_
        = new PrimaryButton(QStringLiteral("Actualizar"), systemColor(SystemColor::gray));
    connect(refreshButton_, &PrimaryButton::clicked, this, &DiskSpaceViewController::refreshDisk);
    buttons->addWidget(finderButton_);
    buttons->addWidget(refreshButton_);
    buttons->addStretch(1);
    stack->addLayout(buttons);

    auto* hint = new QLabel(QStringLiteral("💡 Usa la función 'Basura del Sistema' para liberar "
                                           "espacio eliminando cachés y archivos temporales."));
    hint->setWordWrap(true);
    hint->setFont(uiFont(12));
    setTextColor(hint, secondary);
    stack->addWidget(hint);

    // The map comes under the figures and is moved, not rebuilt, by "Actualizar": a
    // walk in progress keeps filling it.
    stack->addWidget(makeSeparatorLine(this));
    stack->addWidget(mapSection_);
    // The map was made before these buttons (and outlives them): Tab still goes down
    // the screen as it reads.
    QWidget* previous = refreshButton_;
    const std::initializer_list<QWidget*> below{
        startButton(), chooseButton_, breadcrumb_, mapView_, childList_};
    for (QWidget* next : below) {
        setTabOrder(previous, next);
        previous = next;
    }

    return makeScrollColumn(column);
}

void DiskSpaceViewController::openInFinder()
{
    context().backends.workspace->openFolder("/");
}

} // namespace tidvale::gui

namespace tidvale::gui {
namespace {

constexpr int kLargeFilesTool = 7;
constexpr int kDuplicatesTool = 8;
// A piece narrower than half a degree is folded into "otros": it could not be seen,
// let alone pointed at.
constexpr double kSmallestPiece = 1.0 / 720;
constexpr int kFillMs = 250;

QString shareText(double share)
{
    return QLocale(QLocale::Spanish).toString(share * 100, 'f', 1) + QStringLiteral(" %");
}

QString rowName(const UsageRow& r)
{
    if (r.id == kNoUsage)
        return QStringLiteral("Otros (%1 elementos pequeños)").arg(r.items);
    QString name = QString::fromStdString(r.name);
    if (r.flags & usageUnreadable)
        name += QStringLiteral(" — sin permiso de lectura");
    else if (r.flags & usageOtherVolume)
        name += QStringLiteral(" — otro volumen");
    return name;
}

} // namespace

QWidget* DiskSpaceViewController::buildMap()
{
    if (mapFolder_.empty())
        setMapFolder(::geteuid() == 0 && !context().folders.systemRoot.empty()
                ? context().folders.systemRoot
                : ::geteuid() == 0 ? std::string("/")
                                   : context().folders.home);
    auto* section = new QWidget;
    auto* stack = new QVBoxLayout(section);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(12);
    auto* start = new PrimaryButton(QStringLiteral("Analizar"), systemColor(SystemColor::red));
    setStartButton(start, [this] { doMap(); });
    auto* choose = chooseButton_
        = new PrimaryButton(QStringLiteral("Elegir carpeta…"), systemColor(SystemColor::gray));
    connect(choose, &PrimaryButton::clicked, this, &DiskSpaceViewController::chooseFolder);
    mapStatus_ = new QLabel;
    mapStatus_->setFont(uiFont(12));
    mapStatus_->setWordWrap(true);
    setTextColor(mapStatus_, secondaryLabelColor(this));
    setStatusLabel(mapStatus_);
    controls->addWidget(start);
    controls->addWidget(choose);
    controls->addWidget(mapStatus_, 1);
    stack->addLayout(controls);

    breadcrumb_ = new QLabel;
    breadcrumb_->setTextFormat(Qt::RichText);
    breadcrumb_->setTextInteractionFlags(
        Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    breadcrumb_->setFont(uiFont(13, QFont::Medium));
    connect(breadcrumb_, &QLabel::linkActivated, this,
        [this](const QString& link) { zoomTo(link.toUInt()); });
    stack->addWidget(breadcrumb_);

    mapView_ = new DiskMapView;
    connect(mapView_, &DiskMapView::zoomRequested, this, &DiskSpaceViewController::zoomTo);
    connect(mapView_, &DiskMapView::zoomOutRequested, this, &DiskSpaceViewController::zoomOut);
    connect(mapView_, &DiskMapView::menuRequested, this, [this](UsageId id, QPoint at) {
        QMenu menu(this);
        fillEntryMenu(&menu, id);
        if (!menu.isEmpty())
            menu.exec(at);
    });

    childModel_ = new RecordTableModel<UsageRow>(
        {{QStringLiteral("Nombre"), [](const UsageRow& r) { return rowName(r); }},
            {QStringLiteral("Tamaño"), [](const UsageRow& r) { return fileBytesText(r.bytes); },
                {12, QFont::Normal, Tone::label, true}},
            {QStringLiteral("Porcentaje"), [](const UsageRow& r) { return shareText(r.share); },
                {12, QFont::Normal, Tone::secondary, true}},
            {QStringLiteral("Elementos"),
                [](const UsageRow& r) {
                    // A file holds no entries: the column is left empty rather than "0".
                    return r.flags & usageFolder || r.id == kNoUsage
                        ? QLocale(QLocale::Spanish).toString(r.items)
                        : QString();
                },
                {12, QFont::Normal, Tone::secondary, true}}},
        [](const UsageRow& r) { return QString::fromStdString(r.path); }, this);
    childList_ = makeTableList(childModel_, {28, {150, 76, 72, 72}, 0});
    childList_->setMinimumWidth(260);
    childList_->setAccessibleName(QStringLiteral("Contenido de la carpeta"));
    childList_->horizontalHeader()->setSectionsClickable(true);
    childList_->horizontalHeader()->setSortIndicatorShown(true);
    childList_->horizontalHeader()->setSortIndicator(sortColumn_, sortOrder_);
    connect(childList_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
        &DiskSpaceViewController::sortRows);
    connect(childList_, &QTableView::activated, this, [this](const QModelIndex& index) {
        const UsageRow& row = childModel_->items()[static_cast<size_t>(index.row())];
        if (row.flags & usageFolder)
            zoomTo(row.id);
    });
    connect(childList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) {
            if (current.isValid())
                mapView_->focusPiece(childModel_->items()[static_cast<size_t>(current.row())].id);
        });
    connect(mapView_, &DiskMapView::pieceFocused, this, [this](UsageId id) {
        const auto& rows = childModel_->items();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].id == id)
                childList_->selectRow(static_cast<int>(i));
    });
    attachContextMenu(childList_, [this](QMenu* menu, const QModelIndex& clicked) {
        menu->clear();
        if (clicked.isValid())
            fillEntryMenu(menu, childModel_->items()[static_cast<size_t>(clicked.row())].id);
    });

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(mapView_);
    split->addWidget(childList_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setMinimumHeight(380);
    split->setSizes({420, 390});
    split->installEventFilter(this);
    split_ = split;
    stack->addWidget(split, 1);

    fillTimer_ = new QTimer(this);
    fillTimer_->setInterval(kFillMs);
    connect(fillTimer_, &QTimer::timeout, this, &DiskSpaceViewController::showMap);
    setMapFolder(mapFolder_);
    return section;
}

// A narrow window puts the list under the map: side by side, neither the rings nor
// the names would have room.
bool DiskSpaceViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == split_ && event->type() == QEvent::Resize) {
        const bool wide = split_->width() >= 640;
        const Qt::Orientation want = wide ? Qt::Horizontal : Qt::Vertical;
        if (split_->orientation() != want) {
            split_->setOrientation(want);
            split_->setMinimumHeight(wide ? 380 : 640);
            split_->setSizes(wide ? QList<int>{420, 390} : QList<int>{340, 300});
        }
    }
    return ToolViewController::eventFilter(watched, event);
}

void DiskSpaceViewController::setMapFolder(std::string folder)
{
    mapFolder_ = std::move(folder);
    if (mapStatus_ && !tree_ && !isBusy())
        mapStatus_->setText(QStringLiteral("Pulsa «Analizar» para ver qué ocupa %1.")
                                .arg(QString::fromStdString(mapFolder_)));
}

void DiskSpaceViewController::doMap()
{
    if (!readyForJob())
        return;
    // The map sits under the figures: bring it into view, it is what the user asked for.
    if (auto* scroll = findChild<QScrollArea*>(); scroll && scroll->widget())
        scroll->verticalScrollBar()->setValue(mapSection_->mapTo(scroll->widget(), QPoint()).y());
    auto before = std::make_pair(tree_, centre_);
    tree_ = std::make_shared<UsageTree>(mapFolder_);
    centre_ = kUsageRoot;
    showMap();
    fillTimer_->start();
    runJob(
        [tree = tree_, pool = context().pool](const JobControl& job) {
            mapUsage(*pool, *tree, job);
            return tree->entry(kUsageRoot).items;
        },
        [this](uint32_t items) {
            fillTimer_->stop();
            showMap();
            setStatus(QStringLiteral("✅ %1 elementos · %2")
                          .arg(QLocale(QLocale::Spanish).toString(items),
                              fileBytesText(tree_->entry(kUsageRoot).bytes)));
        },
        [this, before] {
            fillTimer_->stop();
            std::tie(tree_, centre_) = before;
            showMap();
        });
}

void DiskSpaceViewController::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Elegir carpeta"), QString::fromStdString(mapFolder_));
    if (folder.isEmpty() || isBusy())
        return;
    mapFolder_ = folder.toStdString();
    doMap();
}

void DiskSpaceViewController::zoomTo(UsageId id)
{
    if (!tree_ || id == kNoUsage)
        return;
    centre_ = id;
    showMap();
}

void DiskSpaceViewController::zoomOut()
{
    if (tree_ && centre_ != kUsageRoot)
        zoomTo(tree_->parentOf(centre_));
}

void DiskSpaceViewController::showMap()
{
    if (!tree_) {
        mapView_->setPieces({}, {}, 0);
        childModel_->setItems({});
        breadcrumb_->clear();
        return;
    }
    const UsageEntry centre = tree_->entry(centre_);
    if (isBusy())
        setStatus(QStringLiteral("Analizando… %1 elementos · %2")
                      .arg(QLocale(QLocale::Spanish).toString(tree_->entry(kUsageRoot).items),
                          fileBytesText(tree_->entry(kUsageRoot).bytes)));
    // The breadcrumb gives the whole path; the centre has room for a name.
    std::string centreName = centre.name;
    if (centre_ == kUsageRoot) {
        const std::string& root = tree_->rootPath();
        centreName = root == "/" ? root : root.substr(root.find_last_of('/') + 1);
    }
    mapView_->setPieces(tree_->rings(centre_, DiskMapView::rings, kSmallestPiece),
        QString::fromStdString(centreName), centre.bytes);

    std::vector<UsageRow> rows;
    const double whole = centre.bytes > 0 ? static_cast<double>(centre.bytes) : 1.0;
    int64_t listed = 0;
    uint32_t listedItems = 0;
    const std::string base = tree_->path(centre_);
    for (const UsageEntry& e : tree_->children(centre_)) {
        rows.push_back({e.id, base + (base == "/" ? "" : "/") + e.name, e.name, e.counted(),
            static_cast<double>(e.counted()) / whole, e.items, e.flags});
        listed += e.counted();
        listedItems += e.items + 1;
    }
    if (centre.bytes > listed)
        rows.push_back({kNoUsage, {}, {}, centre.bytes - listed,
            static_cast<double>(centre.bytes - listed) / whole, centre.items - listedItems, 0});
    const int current = childList_->currentIndex().row();
    const UsageId selected
        = current >= 0 ? childModel_->items()[static_cast<size_t>(current)].id : kNoUsage;
    childModel_->setItems(std::move(rows));
    sortRows(sortColumn_, sortOrder_);
    for (size_t i = 0; i < childModel_->items().size(); ++i)
        if (selected != kNoUsage && childModel_->items()[i].id == selected)
            childList_->selectRow(static_cast<int>(i));

    QStringList crumbs;
    for (UsageId at = centre_; at != kNoUsage; at = tree_->parentOf(at)) {
        const QString name = at == kUsageRoot ? QString::fromStdString(tree_->rootPath())
                                              : QString::fromStdString(tree_->entry(at).name);
        crumbs.prepend(at == centre_
                ? name.toHtmlEscaped()
                : QStringLiteral("<a href=\"%1\">%2</a>").arg(at).arg(name.toHtmlEscaped()));
    }
    breadcrumb_->setText(crumbs.join(QStringLiteral(" › ")));
}

void DiskSpaceViewController::sortRows(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    auto rows = childModel_->items();
    auto key = [column](const UsageRow& a, const UsageRow& b) {
        switch (column) {
        case 0:
            return QString::localeAwareCompare(rowName(a), rowName(b)) < 0;
        case 3:
            return a.items < b.items;
        default:
            return a.bytes < b.bytes;
        }
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const UsageRow& a, const UsageRow& b) {
        // "Otros" stays last whatever the order: it is not one entry.
        if ((a.id == kNoUsage) != (b.id == kNoUsage))
            return b.id == kNoUsage;
        return order == Qt::AscendingOrder ? key(a, b) : key(b, a);
    });
    childModel_->setItems(std::move(rows));
}

void DiskSpaceViewController::fillEntryMenu(QMenu* menu, UsageId id)
{
    menu->clear();
    if (!tree_ || id == kNoUsage)
        return;
    const UsageEntry e = tree_->entry(id);
    const std::string path = tree_->path(id);
    auto items = itemMenu(menu, path);
    items.reveal();
    if (e.is(usageFolder) && !e.is(usageOtherVolume)) {
        items.separator()
            .action(QStringLiteral("Buscar duplicados aquí"), QStringLiteral("doc.on.doc"),
                [this, path] {
                    emit searchHereRequested(kDuplicatesTool, QString::fromStdString(path));
                })
            .action(QStringLiteral("Buscar archivos grandes aquí"),
                QStringLiteral("magnifyingglass"), [this, path] {
                    emit searchHereRequested(kLargeFilesTool, QString::fromStdString(path));
                });
    }
    items.separator().trash([this, id] { trashEntry(id); });
    items.enabled(id != kUsageRoot && !isBusy());
}

// The entry goes only while its path still holds what the walk measured: the same
// inode and kind, and a file of the same size. The map keeps no more of an entry
// than that, so the stamp the Trash re-checks is taken here from the entry as it is.
void DiskSpaceViewController::trashEntry(UsageId id)
{
    if (!tree_ || id == kUsageRoot || isBusy())
        return;
    const UsageEntry e = tree_->entry(id);
    RemovalTarget target{tree_->path(id), tree_->path(id), {}, e.counted()};
    runRowRemoval(
        [trash = context().backends.trash, target, e](const JobControl& job) mutable {
            ListedStamp now;
            const bool same = readListedStamp(target.path, now) && now.identity.inode == e.inode
                && (now.type == S_IFDIR) == e.is(usageFolder)
                && (e.is(usageFolder) || now.stamp.size == e.bytes);
            if (!same) {
                RemovalReport report;
                report.add(outcomeOf(target, RemovalStatus::changed,
                    "Ha cambiado desde que se midió; vuelve a analizar"));
                return report;
            }
            target.listed = now;
            return trashTargets(*trash, {target}, job);
        },
        childModel_, [](const UsageRow& r) { return r.path; },
        QStringLiteral("✅ Movido a la Papelera · Liberado: "),
        [this, id](const RemovalReport& report) {
            if (report.isGone(tree_->path(id)) && tree_->remove(id)) {
                if (centre_ == id)
                    centre_ = tree_->parentOf(id);
                showMap();
            }
        });
}

} // namespace tidvale::gui
