#include "QrvCurveListModel.h"

#include "QrvDocumentSession.h"
#include "QrvQtColor.h"

#include <QBrush>
#include <QColor>

namespace qrv
{

TCurveListModel::TCurveListModel(TDocumentSession& session, QObject* parent)
    : QAbstractListModel(parent), session_(session)
{
    // Any change of the document may rename, recolour or reorder rows; the
    // list is short, so it is read again whole.
    connect(&session_, &TDocumentSession::ListChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int TCurveListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : session_.CurveCount();
}

QVariant TCurveListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= session_.CurveCount()) return {};
    const int row = index.row();
    const TCurve& curve = session_.Document().Curves[std::size_t(row)];
    const std::string& error = session_.CurveError(row);
    switch (role) {
    case Qt::DisplayRole: {
        QString text = QString::fromStdString(DisplayName(curve, row));
        if (!error.empty()) text += QStringLiteral("  \u2013  ") + QString::fromStdString(error);
        return text;
    }
    case Qt::ToolTipRole:
        return QString::fromStdString(error.empty() ? DisplayName(curve, row) : error);
    case Qt::DecorationRole:
        return ToQColor(curve.Color);
    case Qt::CheckStateRole:
        return curve.Visible ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
        if (!error.empty()) return QBrush(Qt::darkRed);
        return {};
    case ErrorRole:
        return QString::fromStdString(error);
    default:
        return {};
    }
}

bool TCurveListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.row() >= session_.CurveCount()) return false;
    const bool visible = value.toInt() == Qt::Checked;
    session_.Editor().SetCurveVisible(index.row(), visible);
    return true;
}

Qt::ItemFlags TCurveListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

} // namespace qrv
