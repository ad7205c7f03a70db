// front/: the compiler's front end. The reader turns preprocessed node trees
// into the source configuration; the model builder resolves and checks every
// cross-reference into the configuration model the writers read. Nothing here
// opens an output.
//
// Reads the preprocessed node tree of one configuration document into the
// source configuration, reporting every problem of shape on the way.
#pragma once

#include "front/source_configuration.h"
#include "schedule/struct_serializer.h"
#include "schedule/values_free_storage_factory.h"
#include "console/storage_error_reporter.h"
#include "xmlfile/xml_file_storage.h"

namespace app_core {

// What reading a schedule element needs.
struct ScheduleReadingContext {
  velk::IStructSerializer* serializer = nullptr;
  velk::IValuesFreeStorageFactory* adapterFactory = nullptr;
};

// Appends the records of the root's children to `source`; call once per
// input document, in input order. Throws only when a schedule element cannot
// be presented to the serializer.
void readConfiguration(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* root,
                       const ScheduleReadingContext& schedules, SourceConfiguration& source);

}  // namespace app_core
