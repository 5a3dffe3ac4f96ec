#pragma once

#include "model/Profile.h"
#include "platform/BackgroundWriter.h"

#include <QList>
#include <QObject>
#include <optional>

namespace varrow::model {

// Where Varrow keeps its files. Computed once per process from VARROW_HOME or the user's data folder.
struct StoreLocations {
    QString root;      // holds profiles.json
    QString accounts;  // one data folder per account
    QString apps;      // the per-account copies and their metadata

    static StoreLocations forRoot(const QString& root);
    // VARROW_HOME exactly as set, else "Varrow" in the user's application-support folder.
    static const StoreLocations& standard();
};

// The ordered list of accounts and its JSON file.
class ProfileStore : public QObject {
    Q_OBJECT
public:
    // Loads at once. Without locations, the standard ones are used.
    explicit ProfileStore(std::optional<StoreLocations> locations = std::nullopt, QObject* parent = nullptr);

    const QList<Profile>& profiles() const { return profiles_; }
    // Replaces the list and publishes it; the caller saves.
    void setProfiles(const QList<Profile>& profiles);

    QString rootURL() const { return locations_.root; }
    QString accountsURL() const { return locations_.accounts; }
    QString appsURL() const { return locations_.apps; }
    QString listFile() const;
    const StoreLocations& locations() const { return locations_; }

    void load();
    // Atomic, and off the UI thread: the disk's confirmation is not waited for. On failure logs one
    // line and keeps the list in memory. False when the folder for the list cannot be made.
    bool save();
    // Returns once every save asked for so far has reached the file.
    void flush() { writer_.flush(); }
    void update(const Profile& profile);
    void remove(const Profile& profile, bool deleteData);
    void markOpened(const Profile& profile);

    QString uniqueName(const QString& requested, std::optional<QUuid> excluding = std::nullopt) const;
    static QString folderName(const QString& name);
    static Profile makeDefault();
    // The list file's content: strict reading (none with a reason when any record is unreadable)
    // and the pretty-printed form with sorted keys that save() writes.
    static std::optional<QList<Profile>> decodeList(const QByteArray& bytes, QString* reason = nullptr);
    static QByteArray encodeList(const QList<Profile>& profiles);

    std::optional<Profile> profile(const QUuid& id) const;
    // The first account whose name is exactly the text (no trimming, no case folding).
    std::optional<Profile> findByName(const QString& name) const;
    static std::optional<Profile> findByName(const QList<Profile>& profiles, const QString& name);

signals:
    // Every change of the list, carrying the new list (already stored).
    void profilesChanged(const QList<varrow::model::Profile>& profiles);

private:
    void setAsideUnreadable(const QString& reason);

    StoreLocations locations_;
    QList<Profile> profiles_;
    platform::BackgroundWriter writer_;
};

}  // namespace varrow::model
