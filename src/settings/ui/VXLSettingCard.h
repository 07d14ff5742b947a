#pragma once

#include "cardtools/GWUSBDiskEntity.h"
#include "cardtools/VolumeDiscovery.h"
#include "settings/FileData.h"

#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

// Finding the camera's card and its settings file for the settings window. Everything here
// blocks (lsblk, blkid, fatlabel and the card itself) and runs off the GUI thread.

// Renames a card's volume to "ZUVA"; answers the command runner's error record, empty on
// success.
using VolumeRenamer = std::function<QVariantMap(const GWUSBDiskEntity& card)>;
// fatlabel DEVICE ZUVA with administrator rights.
QVariantMap renameVolumeToZuva(const GWUSBDiskEntity& card);

inline constexpr char kSettingFileName[] = "config.bin";

struct SettingCard
{
    std::optional<GWUSBDiskEntity> card;
    // config.bin in the root of the card; empty when no card holds a 500-byte one.
    QString settingFilePath;
    // Why the volumes could not be listed (lsblk missing, failing or hung), so the window can
    // tell it from "no card"; empty when they could.
    QString volumeFailure;
};

// The camera's card with its settings file. A card whose volume is not named "ZUVA" is renamed
// first; a refused rename is logged and the card is used as it is.
SettingCard findSettingCard(const BlockDeviceSource& source, const VolumeRenamer& renamer);

struct SettingCardRead
{
    SettingCard card;
    // The card's record, when its file could be read.
    std::optional<_FILEDATA> record;
};

SettingCardRead readSettingCard(const BlockDeviceSource& source, const VolumeRenamer& renamer);

// Where a save goes without asking: the chosen card's config.bin while it exists, else
// config.bin on the card the lookup finds now (written new); empty when there is no card.
QString settingSaveTarget(const std::optional<GWUSBDiskEntity>& selectedCard,
                          const BlockDeviceSource& source);
