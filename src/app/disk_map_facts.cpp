#include "app/disk_map_facts.h"

#include <algorithm>

#include "picture/header_areas.h"

namespace lumbra {

DiskFacts SessionDiskFacts(Session& session) {
    DiskFacts facts;
    if (session.wizard.openingDrive || !session.reader) return facts;
    SectorReader& reader = *session.reader;
    facts.damage = reader.damageMap();
    facts.coverage = reader.readCoverage();
    const auto& drives = session.disk.driveTable().rows;
    const uint64_t driveSectors =
        session.wizard.selectedDrive < drives.size() ? drives[session.wizard.selectedDrive].totalSectors : 0;
    facts.diskSectors = reader.sectorCount().value_or(driveSectors);
    const WizardStep step = session.wizard.currentStep();
    const bool busy = session.wizard.busy();
    const bool mounting = busy && (step == WizardStep::StepVolumes || step == WizardStep::StepBrowse);
    // A running scan's pools are those it offered; the pool table, the object tree and the
    // volumes are no mount's: it only reads them.
    if (busy && !mounting) {
        facts.pools = session.live.learned().pools;
    } else {
        for (uint32_t row = 0; row < session.pools.count(); ++row)
            facts.pools.push_back(*SelectPool(session.pools, row));
    }
    if (!busy) {
        facts.partitionTable = !PartitionTableStarts(reader).empty();
        facts.headerAreas = DiskHeaderAreas(reader, facts.pools);
    }
    const uint32_t poolRow = session.wizard.selectedPool;
    if ((step == WizardStep::StepVolumes || step == WizardStep::StepBrowse) && poolRow < facts.pools.size()) {
        facts.selectedPool = poolRow;
        if (session.objectTree.superblockSector != 0) facts.superblockSector = session.objectTree.superblockSector;
        if (session.objectTree.rootSector != 0) facts.objectTreeBlocks.push_back(session.objectTree.rootSector);
    }
    if ((step == WizardStep::StepBrowse || mounting) && facts.selectedPool) {
        const uint32_t volume = session.wizard.selectedVolume;
        if (volume < session.volumes.count()) facts.volumeRoot = session.volumes[volume].rootSector;
    }
    if (mounting) {
        facts.volumeTreeBlocks = session.live.learned().volumeTreeBlocks;
    } else if (step == WizardStep::StepBrowse && facts.selectedPool) {
        for (size_t i = 0; i < session.blockQueue.size(); ++i) facts.volumeTreeBlocks.push_back(session.blockQueue[i]);
        facts.tree = &session.records;
    }
    for (const SelectedPool& pool : facts.pools)
        for (const SectorRange& area : PoolAreas(pool)) facts.diskSectors = std::max(facts.diskSectors, area.end());
    return facts;
}

}  // namespace lumbra
