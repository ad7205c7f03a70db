#!/usr/bin/env python3
"""Writes a large, valid compile configuration for benchmarks.

At scale 1: 11,000 components in 220 assemblies, 10,000 services with
dependencies and settings, 100 access points fed through groups, 10 hosts,
1,000 task types, 4,000 on-demand tasks with schedules and settings and
1,000 monitoring tasks. The top file only includes the others, which hold
at most --chunk elements each.

    bench/gen_config.py OUT_DIR [--scale 2.5] [--chunk 1000]

Then compile OUT_DIR/main.xml. OUT_DIR/main_xinclude.xml is the same tree
joined by XInclude, for timing a general XML tool on the same bytes.
"""

import argparse
import os

SCHEDULES = [
    ("0x5AAF69C8", "<exactTime>132000000000000000</exactTime>"),
    ("0x6E3FBE91", "<delayInSeconds>{n}</delayInSeconds>"),
    ("0x874A7FAA", "<periodInSeconds>{n}</periodInSeconds>"),
    ("0x8AFDEF28", "<periodInDays>1</periodInDays><timeOfDay>{n}</timeOfDay>"),
    ("0xA8860BAE", "<monthDays>16</monthDays><timeOfDay>{n}</timeOfDay>"),
    ("0xD6426858", "<weekDays>65</weekDays><timeOfDay>{n}</timeOfDay>"),
    ("0x9784FBB7", "<taskName>task_{prev}</taskName><taskMustCompleteSuccessfully>1</taskMustCompleteSuccessfully>"),
]


class Writer:
    """Spreads elements of one kind over files of at most `chunk` elements."""

    def __init__(self, out_dir, chunk):
        self.out_dir = out_dir
        self.chunk = chunk
        self.includes = []

    def kind(self, name, elements):
        for start in range(0, len(elements), self.chunk):
            file_name = "%s_%04d.xml" % (name, start // self.chunk)
            with open(os.path.join(self.out_dir, file_name), "w", encoding="utf-8") as f:
                f.write("<root>\n")
                f.writelines(e + "\n" for e in elements[start:start + self.chunk])
                f.write("</root>\n")
            self.includes.append(file_name)

    def main(self):
        with open(os.path.join(self.out_dir, "main.xml"), "w", encoding="utf-8") as f:
            f.write("<root>\n")
            f.writelines('  <include file="%s"/>\n' % name for name in self.includes)
            f.write("</root>\n")
        with open(os.path.join(self.out_dir, "main_xinclude.xml"), "w", encoding="utf-8") as f:
            f.write('<root xmlns:xi="http://www.w3.org/2001/XInclude">\n')
            f.writelines('  <xi:include href="%s"/>\n' % name for name in self.includes)
            f.write("</root>\n")


def scaled(base, scale):
    return max(1, int(round(base * scale)))


def infrastructure(counts):
    categories = ["<updatable_categories_config>"]
    categories += ['  <update_category name="cat_%d" container_type="storage"/>' % c for c in range(10)]
    categories.append("</updatable_categories_config>")
    hosts = ['<host name="host_%d" id="%d" prototype="false"/>' % (h, 100 + h) for h in range(counts["hosts"])]
    return ["\n".join(categories)] + hosts


def components(counts):
    """Service components, then task-type components; every second one has settings."""
    names = ["comp_%d" % i for i in range(counts["services"])]
    names += ["task_comp_%d" % j for j in range(counts["task_types"])]
    assemblies, elements = [], []
    per_assembly = 50
    for a in range(0, len(names), per_assembly):
        refs = "".join('<component name="%s"/>' % n for n in names[a:a + per_assembly])
        assemblies.append('<assembly name="asm_%d" module="mod_%d.dll" module_category="cat_%d">%s</assembly>'
                          % (a // per_assembly, a // per_assembly, (a // per_assembly) % 10, refs))
    for i, name in enumerate(names):
        settings = ' construct_iid="0x%08x" settings_typeid="0x%08x"' % (0x10000 + i, 0x20000 + i) if i % 2 == 0 else ""
        clsid = ' clsid="0x%08x"' % (0x30000000 + i) if i % 3 else ""
        elements.append('<component name="%s"%s%s><interface name="iface.Common%d"/>'
                        '<interface name="iface.I%s" iid="0x%08x"/></component>'
                        % (name, clsid, settings, i % 100, name, 0x40000000 + i))
    return assemblies, elements


def services(counts):
    elements, settings = [], []
    for i in range(counts["services"]):
        key = ' key="0x%08x"' % (0x50000000 + i) if i % 2 else ""
        depends = '<depends name="service_%d"/>' % (i - 1) if i else ""
        elements.append('<service name="service_%d"%s component="comp_%d" release_timeout="%d" '
                        'lookup_priority="normal" trace_prefix="S%d">%s</service>'
                        % (i, key, i, 1000 + i, i, depends))
        if i % 2 == 0:
            settings.append('<settings service="service_%d"><timeout>%d</timeout><name>s%d</name></settings>'
                            % (i, i, i))
    return elements, settings


def access(counts):
    per_point = counts["services"] // counts["access_points"] or 1
    elements = []
    for p in range(counts["access_points"]):
        members = "".join('<link name="service_%d"/>' % s
                          for s in range(p * per_point, min((p + 1) * per_point, counts["services"])))
        elements.append('<group name="group_%d">%s</group>' % (p, members))
        elements.append('<access_point id="0x%08x" name="ap_%d" host="host_%d" authorization_service="service_0"/>'
                        % (0x60000000 + p, p, p % counts["hosts"]))
        elements.append('<access_point_services access_point="ap_%d"><link name="group_%d"/></access_point_services>'
                        % (p, p))
        elements.append('<host_services host="host_%d"><link name="group_%d"/></host_services>'
                        % (p % counts["hosts"], p))
    return elements


def task_types(counts):
    elements = []
    for j in range(counts["task_types"]):
        settings = "<settings><common><mode>%d</mode></common><level name=\"high\"><mode>1</mode></level></settings>" % j \
            if (counts["services"] + j) % 2 == 0 else ""
        elements.append('<task_type name="task_type_%d" component="task_comp_%d">'
                        '<statistics typeid="0x%08x" iid="0x%08x"/><event typeid="1" iid="2"/>'
                        '<depends name="service_%d"/>%s</task_type>'
                        % (j, j, 0x70000000 + j, 0x71000000 + j, j, settings))
    return elements


def tasks(counts):
    on_demand, monitoring, settings = [], [], []
    for t in range(counts["on_demand_tasks"]):
        type_index = t % counts["task_types"]
        unique_id, body = SCHEDULES[t % len(SCHEDULES)]
        schedule = '<schedule unique_id="%s">%s<conditions><from>0</from></conditions></schedule>' \
            % (unique_id, body.format(n=60 + t, prev=max(t - 1, 0)))
        on_demand.append('<on_demand_task name="task_%d" type="task_type_%d" quarn_registry_path="area/%d">%s'
                         '</on_demand_task>' % (t, type_index, t % 20, schedule))
        if (counts["services"] + type_index) % 2 == 0:
            settings.append('<settings task="task_%d"><common><limit>%d</limit></common>'
                            '<level name="default"><limit>0</limit></level></settings>' % (t, t))
    for m in range(counts["monitoring_tasks"]):
        component = "task_comp_%d" % (m % counts["task_types"])
        inline = "<settings><common><watch>%d</watch></common></settings>" % m \
            if (counts["services"] + m % counts["task_types"]) % 2 == 0 else ""
        monitoring.append('<monitoring_task name="monitor_%d" component="%s" is_start_allowed="true">'
                          '<statistics typeid="0x%08x" iid="0x%08x"/>%s</monitoring_task>'
                          % (m, component, 0x72000000 + m, 0x73000000 + m, inline))
    return on_demand, monitoring, settings


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out_dir")
    parser.add_argument("--scale", type=float, default=1.0, help="size factor (default 1)")
    parser.add_argument("--chunk", type=int, default=1000, help="elements per included file")
    args = parser.parse_args()
    counts = {
        "services": scaled(10000, args.scale),
        "task_types": scaled(1000, args.scale),
        "on_demand_tasks": scaled(4000, args.scale),
        "monitoring_tasks": scaled(1000, args.scale),
        "access_points": scaled(100, args.scale),
        "hosts": 10,
    }
    os.makedirs(args.out_dir, exist_ok=True)
    writer = Writer(args.out_dir, args.chunk)
    writer.kind("infrastructure", infrastructure(counts))
    assemblies, component_elements = components(counts)
    writer.kind("assemblies", assemblies)
    writer.kind("components", component_elements)
    service_elements, service_settings = services(counts)
    writer.kind("services", service_elements)
    writer.kind("access", access(counts))
    writer.kind("task_types", task_types(counts))
    on_demand, monitoring, task_settings = tasks(counts)
    writer.kind("on_demand_tasks", on_demand)
    writer.kind("monitoring_tasks", monitoring)
    writer.kind("settings", service_settings + task_settings)
    writer.main()
    print("%s: %d files, %d components, %d services, %d task types, %d tasks"
          % (os.path.join(args.out_dir, "main.xml"), len(writer.includes) + 1,
             counts["services"] + counts["task_types"], counts["services"], counts["task_types"],
             counts["on_demand_tasks"] + counts["monitoring_tasks"]))


if __name__ == "__main__":
    main()
