CREATE TABLE RySysObjects (
    ObjectID integer primary key AUTOINCREMENT,
    ParentObjectID integer,
    ObjectName TEXT,
    Type TEXT NOT NULL,
    Connection TEXT,
    ForeignID INT,
    ForeignName TEXT,
    CreateDate DATETIME DEFAULT current_timestamp,
    UpdateDate DATETIME DEFAULT current_timestamp
);
CREATE TABLE tblLayout (
    layout_id integer primary key AUTOINCREMENT,
    layout_name TEXT,
    layout_data TEXT,
    create_date DATETIME DEFAULT current_timestamp,
    update_date DATETIME DEFAULT current_timestamp,
    parent_object_id integer
);
INSERT INTO tblLayout(layout_name, layout_data) VALUES ('default', '{"barStyles":[{"styleName":"Task","bodyColor":"#99ccff","bodyShapeHeight":11,"bodyShapeOffset":6,"startPointShape":"","startPointColor":"#000000","endPointShape":"","endPointColor":"#000000","displayColumns":[]},{"styleName":"Milestone","bodyColor":"#000000","bodyShapeHeight":0,"bodyShapeOffset":6,"startPointShape":"Diamond","startPointColor":"#000000","endPointShape":"","endPointColor":"#000000","displayColumns":[]},{"styleName":"Summary","bodyColor":"#000000","bodyShapeHeight":5,"bodyShapeOffset":3,"startPointShape":"SouthPenta","startPointColor":"#000000","endPointShape":"SouthPenta","endPointColor":"#000000","displayColumns":[]},{"styleName":"Actual","bodyColor":"#0000ff","bodyShapeHeight":3,"bodyShapeOffset":10,"startPointShape":"","startPointColor":"#000000","endPointShape":"","endPointColor":"#000000","displayColumns":[]},{"styleName":"Baseline Task","bodyColor":"#666699","bodyShapeHeight":3,"bodyShapeOffset":18,"startPointShape":"","startPointColor":"#000000","endPointShape":"","endPointColor":"#000000","displayColumns":[]},{"styleName":"Baseline Milestone","bodyColor":"#000000","bodyShapeHeight":0,"bodyShapeOffset":6,"startPointShape":"Diamond","startPointColor":"#99ccff","endPointShape":"","endPointColor":"#000000","displayColumns":[]}],"bars":{"bars":{"0":{"finish":17,"start":16},"1":{"finish":24,"start":23},"2":{"finish":9,"start":8}},"timelineFlags":80,"visibleBars":[0,1,2,0,0]},"columns":["Activity ID:100","Activity Name:290","Start:100","Finish:100","WBS:177"],"group":[],"outline":"","sort":0}')
