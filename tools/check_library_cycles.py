#!/usr/bin/env python3
"""Fails when the project's own targets depend on each other in a cycle.

Libraries must point one way (platform and xml at the bottom, then the device side, then the
configuration program's libraries, the toolkit, the programs). CMake links a cycle of static
libraries without complaint, by repeating them on the link line, so a loop can grow unnoticed;
this check reads the target graph that `cmake --graphviz` writes and reports every cycle.

  check_library_cycles.py --dot FILE
      checks a graph file that already exists
  check_library_cycles.py --source DIR --scratch DIR [-- CMAKE_ARGS...]
      configures the project into the scratch folder, writes the graph there and checks it
"""
import argparse
import pathlib
import re
import subprocess
import sys

NODE = re.compile(r'^\s*"(node\d+)"\s*\[\s*label\s*=\s*"([^"]*)",\s*shape\s*=\s*(\w+)')
# The shapes CMake gives executables and custom targets; every other shape is a kind of library.
NOT_LIBRARY = {'egg', 'box'}
EDGE = re.compile(r'^\s*"(node\d+)"\s*->\s*"(node\d+)"')


def read_graph(text):
    """Returns {library: set(libraries it depends on)} for the project's own library targets.

    Imported targets (names with '::', such as Qt6::Core or GTest::gtest) are left out: they come
    from outside and cannot close a loop through the project. Executables are left out too: nothing
    links them, and CMake draws an edge from a test program to itself for its discovery step."""
    names = {}
    edges = []
    for line in text.splitlines():
        if line.strip().startswith('legend'):
            continue
        node = NODE.match(line)
        if node and node.group(3) not in NOT_LIBRARY:
            names[node.group(1)] = node.group(2)
            continue
        edge = EDGE.match(line)
        if edge:
            edges.append((edge.group(1), edge.group(2)))
    own = {node: name for node, name in names.items() if '::' not in name}
    graph = {name: set() for name in own.values()}
    for source, target in edges:
        if source in own and target in own:
            graph[own[source]].add(own[target])
    return graph


def find_cycles(graph):
    """Every cycle found by a depth-first walk, each as the list of targets that closes it."""
    cycles = []
    state = {}  # target -> 'open' while on the walk's path, 'done' once all it reaches is walked
    path = []

    def walk(target):
        state[target] = 'open'
        path.append(target)
        for dependency in sorted(graph[target]):
            if state.get(dependency) == 'open':
                cycles.append(path[path.index(dependency):] + [dependency])
            elif dependency not in state:
                walk(dependency)
        path.pop()
        state[target] = 'done'

    sys.setrecursionlimit(max(1000, 4 * len(graph) + 100))
    for target in sorted(graph):
        if target not in state:
            walk(target)
    return cycles


def write_graph(source, scratch, cmake_args):
    scratch.mkdir(parents=True, exist_ok=True)
    # One graph file is all the check needs; CMake would otherwise write two more per target.
    (scratch / 'CMakeGraphVizOptions.cmake').write_text(
        'set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)\nset(GRAPHVIZ_GENERATE_DEPENDERS FALSE)\n')
    dot = scratch / 'targets.dot'
    result = subprocess.run(
        ['cmake', '-S', str(source), '-B', str(scratch), '-G', 'Ninja', f'--graphviz={dot}', *cmake_args],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.stderr.write(result.stderr)
        sys.exit(f'check_library_cycles: configuring {source} failed')
    return dot


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--dot', type=pathlib.Path)
    parser.add_argument('--source', type=pathlib.Path)
    parser.add_argument('--scratch', type=pathlib.Path)
    parser.add_argument('cmake_args', nargs='*')
    options = parser.parse_args()
    if options.dot:
        dot = options.dot
    elif options.source and options.scratch:
        dot = write_graph(options.source, options.scratch, options.cmake_args)
    else:
        parser.error('give --dot, or --source and --scratch')

    graph = read_graph(dot.read_text())
    if not graph:
        sys.exit(f'check_library_cycles: no libraries in {dot}')
    cycles = find_cycles(graph)
    for cycle in cycles:
        print('cycle: ' + ' -> '.join(cycle))
    if cycles:
        return 1
    print(f'{len(graph)} libraries, no cycle')
    return 0


if __name__ == '__main__':
    sys.exit(main())
